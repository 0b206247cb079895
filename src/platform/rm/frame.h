#pragma once

#include "platform/rm/light.h"
#include "platform/rm/math.h"
#include "platform/rm/mesh_builder.h"
#include "platform/rm/pick.h"
#include "platform/rm/visual.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rm {

class Frame;
class SearchPath;
using FramePtr = std::shared_ptr<Frame>;

// How a new transform combines with a frame's own.
namespace combine {
inline constexpr int32_t Replace = 0;
inline constexpr int32_t Before = 1;  // applied first, in the frame's own axes
inline constexpr int32_t After = 2;   // applied last, in the parent's axes
}  // namespace combine

// Traversal options: a frame whose options lack a bit hides its whole subtree
// from drawing or from ray picks.
namespace traversal {
inline constexpr int32_t Draw = 1;
inline constexpr int32_t Pick = 2;
}  // namespace traversal

// A snapshot of a frame's children or visuals; later changes to the frame do
// not alter it.
template <class Item>
class ObjectArray {
public:
    explicit ObjectArray(std::vector<std::shared_ptr<Item>> items) : items_(std::move(items)) {}
    int32_t GetSize() const { return static_cast<int32_t>(items_.size()); }
    // Throws Failure when `index` is out of range.
    const std::shared_ptr<Item>& GetElement(int32_t index) const;

private:
    std::vector<std::shared_ptr<Item>> items_;
};
using FrameArray = ObjectArray<Frame>;
using VisualArray = ObjectArray<Visual>;

// A node of the scene: a transform relative to its parent, child frames in the
// order they were added, visuals and lights. A parent holds its children; a
// child knows its parent without holding it.
//
// Every placement call takes a reference frame whose coordinates its
// arguments are in; none means world coordinates (those of the tree's root
// frame's parent). Reads after writes always see the new transforms.
//
// Orientation: SetOrientation, LookAt and SetQuaternion relative to another
// frame leave the frame with a pure rotation in world axes (scale 1; callers
// re-apply their scale); relative to the frame itself they turn it and keep
// the lengths of its axes. The position is kept either way.
class Frame : public std::enable_shared_from_this<Frame> {
public:
    // Use Direct3DRM::CreateFrame; the search path serves LoadFromFile.
    static FramePtr Create(const FramePtr& parent, std::shared_ptr<SearchPath> searchPath = {});
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // Adds `child` last. A child taken from another parent keeps its world
    // placement; a frame without parent keeps its transform as its new
    // transform relative to this frame. Throws Failure for a loop.
    void AddChild(const FramePtr& child);
    void DeleteChild(const FramePtr& child);
    FramePtr GetParent() const { return parent_ ? parent_->shared_from_this() : nullptr; }
    FrameArray GetChildren() const { return FrameArray(children_); }
    // Without a copy, for loops that run every frame.
    int32_t GetChildCount() const { return static_cast<int32_t>(children_.size()); }
    const FramePtr& GetChild(int32_t index) const;

    void AddVisual(const VisualPtr& visual);
    void DeleteVisual(const VisualPtr& visual);
    const VisualPtr& GetVisual(int32_t index) const;
    int32_t GetVisualCount() const { return static_cast<int32_t>(visuals_.size()); }
    VisualArray GetVisuals() const { return VisualArray(visuals_); }
    void AddLight(const LightPtr& light);
    const std::vector<LightPtr>& Lights() const { return lights_; }

    // Adds one child frame per frame of a DirectX mesh file, each with one
    // mesh builder of its meshes as its visual; meshes outside any frame of
    // the file become a mesh builder of this frame. Textures as for
    // MeshBuilder::LoadFromFile.
    void LoadFromFile(const std::string& file, const TextureCallback& callback = {});

    void SetPosition(const FramePtr& reference, float x, float y, float z);
    Vector GetPosition(const FramePtr& reference) const;
    void SetOrientation(const FramePtr& reference, const Vector& direction, const Vector& up);
    // Unit vectors of the frame's z (direction) and y (up) axes.
    void GetOrientation(const FramePtr& reference, Vector& direction, Vector& up) const;
    // The direction alone, for the callers that need no up.
    Vector GetDirection(const FramePtr& reference) const;
    // Turns the frame's z axis towards `target`'s origin, keeping "up" as
    // close as may be to the reference frame's y axis. Constraint 0 only.
    void LookAt(const FramePtr& target, const FramePtr& reference, int32_t constraint = 0);
    void SetQuaternion(const FramePtr& reference, const Quaternion& rotation);

    void AddRotation(int32_t combine, const Vector& axis, float angle);
    void AddScale(int32_t combine, float sx, float sy, float sz);
    void AddTranslation(int32_t combine, float x, float y, float z);
    void AddTransform(int32_t combine, const Matrix4& matrix);
    // The transform from this frame's coordinates to the reference frame's.
    Matrix4 GetTransform(const FramePtr& reference) const;
    const Matrix4& LocalTransform() const { return local_; }
    Matrix4 WorldTransform() const;

    // Move(delta) is a step of scene time for the frame and every frame under
    // it: each turns about its rotation axis by angle·delta (about its own
    // origin) and moves by its velocity·delta. The rotation flag
    // makes the velocity turn with the frame (it is kept in the frame's own
    // axes); without it the velocity keeps its direction in the parent's axes.
    void SetRotation(const FramePtr& reference, const Vector& axis, float anglePerUnit);
    void SetVelocity(const FramePtr& reference, float x, float y, float z, bool withRotation);
    void Move(double delta);

    // Points of this frame's coordinates into the reference frame's, and back.
    void TransformVectors(const FramePtr& reference, int32_t count, Vector* destination, const Vector* source) const;
    void InverseTransformVectors(const FramePtr& reference, int32_t count, Vector* destination,
                                 const Vector* source) const;
    // Bounds of every mesh of the subtree, in this frame's coordinates; zero
    // when it has none.
    Box GetHierarchyBox() const;

    void SetTraversalOptions(int32_t options) { traversal_ = options; }
    int32_t GetTraversalOptions() const { return traversal_; }
    // Kept for the renderer: 0 none, 1 back to front, 2 front to back.
    void SetSortMode(int32_t mode) { sortMode_ = mode; }
    int32_t GetSortMode() const { return sortMode_; }
    void SetAppData(int32_t data) { appData_ = data; }
    int32_t GetAppData() const { return appData_; }
    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& GetName() const { return name_; }

    // A new frame without parent or children: the same transform, visuals
    // (shared), lights, name, application data and options.
    FramePtr Clone() const;

    // Every mesh of the subtree that the ray crosses, nearest to the ray's
    // origin first, one hit per visual and frame. The ray is in the reference
    // frame's coordinates; frames without the pick bit, and mesh builders not
    // enabled for picking, are passed over. Throws Failure for a zero
    // direction.
    PickArray RayPick(const FramePtr& reference, const Ray& ray, int32_t flags = 0) const;
    // The same into a caller's array, reusing its storage.
    void RayPick(const FramePtr& reference, const Ray& ray, PickArray& result) const;

private:
    explicit Frame(std::shared_ptr<SearchPath> searchPath);
    // The world transform of `reference` (identity for none).
    static const Matrix4& WorldOf(const FramePtr& reference) {
        static const Matrix4 identity;
        return reference ? reference->World() : identity;
    }
    // No reference, or one whose world is the identity: nothing to transform.
    static bool IdentityWorld(const FramePtr& reference) { return !reference || reference->IsIdentityWorld(); }
    // A world direction in `reference`'s axes.
    static Vector DirectionIn(const FramePtr& reference, const Vector& world);
    bool IsIdentityWorld() const {
        World();
        return worldIdentity_;
    }
    // Known ones are read many times a frame: here, not behind a call.
    const Matrix4& World() const { return worldKnown_ ? world_ : ComputeWorld(); }
    const Matrix4& WorldInverse() const { return inverseKnown_ ? worldInverse_ : ComputeWorldInverse(); }
    const Matrix4& ComputeWorld() const;
    const Matrix4& ComputeWorldInverse() const;
    // The world transform from the local one, under a parent whose own is known.
    void KnowWorld() const;
    // This frame's local transform or parent changed: its world transform
    // and those of the frames under it are computed again when next asked
    // for. Inline as far as the walk through the children: a frame already
    // stale, or without children, costs no call.
    void WorldChanged() {
        if (!worldKnown_) return;
        worldKnown_ = false;
        inverseKnown_ = false;
        if (!children_.empty()) ChildrenWorldChanged();
    }
    void ChildrenWorldChanged();
    // This frame's own part of Move.
    void MoveOwn(double delta);
    // Whether the frame's axes changed since its turning velocity was given,
    // and that velocity into the frame's own axes.
    bool TurnedSinceVelocity() const;
    void VelocityToOwnAxes();
    void SetWorldTransform(const Matrix4& world);
    // No parent, or one whose world is the identity (then known).
    bool UnderIdentity() const { return !parent_ || parent_->IsIdentityWorld(); }
    // A world point, or direction, in the parent's coordinates.
    Vector ToParentPoint(const Vector& world) const;
    Vector ToParentDirection(const Vector& world) const;
    void SetWorldAxes(const Vector& direction, const Vector& up, bool keepScale);
    void Combine(int32_t combine, const Matrix4& matrix);
    // Of this frame's own visuals; the walks through the tree call them.
    void CollectPicks(const Matrix4& world, const Vector& origin, const Vector& direction, PickArray& result) const;
    void GrowBox(const Matrix4& toTarget, Box& box, bool& any) const;

    // Not held: the parent holds this frame, and clears this when it goes or
    // lets the frame go, so it never points at a frame that is gone.
    Frame* parent_ = nullptr;
    std::vector<FramePtr> children_;
    std::vector<VisualPtr> visuals_;
    std::vector<LightPtr> lights_;
    std::shared_ptr<SearchPath> searchPath_;
    Matrix4 local_;
    // The world transform and its inverse as last computed. A frame whose
    // world is known has every frame above it known too, so a change stops
    // at the frames already stale.
    mutable Matrix4 world_;
    mutable Matrix4 worldInverse_;
    mutable bool worldKnown_ = false;
    mutable bool inverseKnown_ = false;
    // While the world is known: it is the identity, as a level's own frames
    // under the scene's root are, so the frames under it take their local
    // transform as their world without a product, and it is its own inverse.
    mutable bool worldIdentity_ = false;
    // In the parent's axes, unless it turns with the frame and was turned
    // into the frame's own axes (velocityInParent_ false).
    Vector velocity_;
    bool velocityTurns_ = false;
    // A turning velocity still as given, with the frame's turn (its local
    // axes) when it was given.
    bool velocityInParent_ = false;
    Vector velocityBasis_[3];
    Vector rotationAxis_{0, 1, 0};
    float rotationRate_ = 0;
    int32_t traversal_ = traversal::Draw | traversal::Pick;
    int32_t sortMode_ = 0;
    int32_t appData_ = 0;
    std::string name_;
};

// Read many times a frame by the movement: here, not behind a call.
inline Vector Frame::GetPosition(const FramePtr& reference) const {
    const Vector world = Row(World(), 3);
    return IdentityWorld(reference) ? world : TransformPoint(world, reference->WorldInverse());
}

inline Vector Frame::DirectionIn(const FramePtr& reference, const Vector& world) {
    return IdentityWorld(reference) ? world : TransformDirection(world, reference->WorldInverse());
}

inline Vector Frame::GetDirection(const FramePtr& reference) const {
    return Normalize(DirectionIn(reference, Row(World(), 2)));
}

inline Vector Frame::ToParentPoint(const Vector& world) const {
    return UnderIdentity() ? world : TransformPoint(world, parent_->WorldInverse());
}

inline Vector Frame::ToParentDirection(const Vector& world) const {
    return UnderIdentity() ? world : TransformDirection(world, parent_->WorldInverse());
}

// One frame met by VisitFrames, with its transform into the coordinates the
// visit is made in.
struct FrameVisit {
    const Frame* frame;
    Matrix4 transform;
};

// Visits `root` (its transform given) and every frame under it, each before
// its children and the children in their order; `visit(frame, transform)`
// returns whether to go on into that frame's children. Frame trees read from
// files may be deep, so the walk keeps its own stack, not the call stack:
// `stack` is the caller's, so that a walk made every frame allocates nothing
// once the stack has grown.
template <class Visit>
void VisitFrames(const Frame& root, const Matrix4& transform, std::vector<FrameVisit>& stack, Visit&& visit) {
    stack.clear();
    stack.push_back({&root, transform});
    while (!stack.empty()) {
        const FrameVisit current = stack.back();
        stack.pop_back();
        if (!visit(*current.frame, current.transform)) continue;
        for (int32_t i = current.frame->GetChildCount() - 1; i >= 0; --i) {
            const Frame& child = *current.frame->GetChild(i);
            stack.push_back({&child, Multiply(child.LocalTransform(), current.transform)});
        }
    }
}

}  // namespace rm
