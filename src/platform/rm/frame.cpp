#include "platform/rm/frame.h"

#include "platform/failure.h"
#include "platform/rm/mesh.h"
#include "platform/rm/x_file.h"

#include <algorithm>
#include <iterator>

namespace rm {
namespace {

Failure NotFound(const char* what) {
    return Failure(failure_number::InvalidArgument, std::string(what) + " is not attached to this frame");
}

template <class Item>
void Remove(std::vector<std::shared_ptr<Item>>& items, const std::shared_ptr<Item>& item, const char* what) {
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) throw NotFound(what);
    items.erase(found);
}

void Grow(Box& box, bool& any, const Vector& p) {
    if (!any) {
        box = {p, p};
        any = true;
        return;
    }
    box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
    box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
}

// The stack of this thread's walks through frame trees, kept between walks.
std::vector<FrameVisit>& WalkStack() {
    thread_local std::vector<FrameVisit> stack;
    return stack;
}

// The frames whose world transforms are being computed, or marked stale;
// kept between calls, so that neither allocates once grown. Never destroyed:
// frames held by static objects still change as those go at the program's end.
template <class FrameType>
std::vector<FrameType*>& PendingFrames() {
    thread_local std::vector<FrameType*>* const pending = new std::vector<FrameType*>();
    return *pending;
}

// Exactly: a rounding error only costs the shortcut. The diagonal first,
// where a frame that turns or scales differs at once.
bool IsIdentity(const Matrix4& matrix) {
    const auto& m = matrix.m;
    if (m[0][0] != 1 || m[1][1] != 1 || m[2][2] != 1 || m[3][3] != 1) return false;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (i != j && m[i][j] != 0) return false;
    return true;
}

}  // namespace

template <class Item>
const std::shared_ptr<Item>& ObjectArray<Item>::GetElement(int32_t index) const {
    if (index < 0 || index >= GetSize()) throw Failure(failure_number::SubscriptOutOfRange, "Array index out of range");
    return items_[index];
}
template class ObjectArray<Frame>;
template class ObjectArray<Visual>;

Frame::Frame(std::shared_ptr<SearchPath> searchPath) : searchPath_(std::move(searchPath)) {}

// A deep tree is taken apart here, level by level: children of which this
// was the last holder give up their own children to this loop before they go,
// so no destructor runs inside another.
Frame::~Frame() {
    std::vector<FramePtr> pending = std::move(children_);
    while (!pending.empty()) {
        const FramePtr child = std::move(pending.back());
        pending.pop_back();
        child->parent_ = nullptr;
        if (child.use_count() > 1) {
            child->WorldChanged();  // it lost its parent
            continue;
        }
        for (FramePtr& grandchild : child->children_) pending.push_back(std::move(grandchild));
        child->children_.clear();
    }
}

FramePtr Frame::Create(const FramePtr& parent, std::shared_ptr<SearchPath> searchPath) {
    FramePtr frame(new Frame(std::move(searchPath)));
    if (parent) parent->AddChild(frame);
    return frame;
}

void Frame::AddChild(const FramePtr& child) {
    if (!child) throw Failure(failure_number::ObjectNotSet, "No frame to add");
    for (const Frame* up = this; up; up = up->parent_)
        if (up == child.get()) throw Failure(failure_number::InvalidArgument, "A frame cannot be its own descendant");
    if (const FramePtr old = child->GetParent()) {
        const Matrix4 world = child->WorldTransform();
        Remove(old->children_, child, "Frame");
        child->parent_ = this;
        child->SetWorldTransform(world);
    } else {
        child->parent_ = this;
        child->WorldChanged();
    }
    children_.push_back(child);
}

void Frame::DeleteChild(const FramePtr& child) {
    Remove(children_, child, "Frame");
    child->parent_ = nullptr;
    child->WorldChanged();
}

const FramePtr& Frame::GetChild(int32_t index) const {
    if (index < 0 || index >= GetChildCount())
        throw Failure(failure_number::SubscriptOutOfRange, "Child index out of range");
    return children_[index];
}

void Frame::AddVisual(const VisualPtr& visual) {
    if (!visual) throw Failure(failure_number::ObjectNotSet, "No visual to add");
    visuals_.push_back(visual);
}

void Frame::DeleteVisual(const VisualPtr& visual) { Remove(visuals_, visual, "Visual"); }

const VisualPtr& Frame::GetVisual(int32_t index) const {
    if (index < 0 || index >= GetVisualCount())
        throw Failure(failure_number::SubscriptOutOfRange, "Visual index out of range");
    return visuals_[index];
}

void Frame::AddLight(const LightPtr& light) {
    if (!light) throw Failure(failure_number::ObjectNotSet, "No light to add");
    lights_.push_back(light);
}

void Frame::LoadFromFile(const std::string& file, const TextureCallback& callback) {
    const XScene scene = ReadXFile(file, searchPath_.get(), callback);
    AddXFrames(*this, scene, searchPath_);
}

Matrix4 Frame::WorldTransform() const { return World(); }

void Frame::KnowWorld() const {
    if (parent_ && !parent_->worldIdentity_) {
        world_ = Multiply(local_, parent_->world_);
        worldIdentity_ = false;
    } else {
        world_ = local_;
        worldIdentity_ = IsIdentity(local_);
    }
    worldKnown_ = true;
    inverseKnown_ = false;
}

// Trees read from files may be deep: the stale frames are gathered up to the
// first known one, then computed from the top down, without recursion. The
// usual case, a frame moved under a known parent, takes one step.
const Matrix4& Frame::ComputeWorld() const {
    if (!parent_ || parent_->worldKnown_) {
        KnowWorld();
        return world_;
    }
    std::vector<const Frame*>& stale = PendingFrames<const Frame>();
    stale.clear();
    for (const Frame* frame = this; frame && !frame->worldKnown_; frame = frame->parent_) stale.push_back(frame);
    for (auto frame = stale.rbegin(); frame != stale.rend(); ++frame) (*frame)->KnowWorld();
    return world_;
}

const Matrix4& Frame::ComputeWorldInverse() const {
    const Matrix4& world = World();
    worldInverse_ = worldIdentity_ ? world : Inverse(world);
    inverseKnown_ = true;
    return worldInverse_;
}

void Frame::ChildrenWorldChanged() {
    std::vector<Frame*>& pending = PendingFrames<Frame>();
    pending.clear();
    for (const FramePtr& child : children_) pending.push_back(child.get());
    while (!pending.empty()) {
        Frame* frame = pending.back();
        pending.pop_back();
        if (!frame->worldKnown_) continue;
        frame->worldKnown_ = false;
        frame->inverseKnown_ = false;
        for (const FramePtr& child : frame->children_) pending.push_back(child.get());
    }
}

// The world transform is known at once, from the parent at hand, computed as
// World() would: a read that follows walks up no more.
void Frame::SetWorldTransform(const Matrix4& world) {
    local_ = UnderIdentity() ? world : Multiply(world, parent_->WorldInverse());
    WorldChanged();
    KnowWorld();
}

void Frame::SetPosition(const FramePtr& reference, float x, float y, float z) {
    const Vector at{x, y, z};
    SetRow(local_, 3, ToParentPoint(IdentityWorld(reference) ? at : TransformPoint(at, reference->World())));
    WorldChanged();
    KnowWorld();
}

void Frame::SetWorldAxes(const Vector& direction, const Vector& up, bool keepScale) {
    // The lengths are taken once, and side by side: the side comes from the
    // direction as given, not from its unit vector. A frame turns towards a
    // target every tick.
    const float length = Length(direction);
    const Vector side = Cross(up, direction);
    const float sideLength = Length(side);
    if (length == 0) throw Failure(failure_number::InvalidArgument, "Zero direction");
    const Vector z = direction * (1 / length);
    const Vector x = sideLength > 0 ? side * (1 / sideLength)
                                    : Normalize(Cross(std::abs(z.y) < 0.9f ? Vector{0, 1, 0} : Vector{1, 0, 0}, z));
    const Vector y = Cross(z, x);
    if (!keepScale && UnderIdentity()) {
        // The world is the local transform: its axes are written in place.
        SetRow(local_, 0, x);
        SetRow(local_, 1, y);
        SetRow(local_, 2, z);
        WorldChanged();
        KnowWorld();
        return;
    }
    Matrix4 world = World();
    const Vector scale =
        keepScale ? Vector{Length(Row(world, 0)), Length(Row(world, 1)), Length(Row(world, 2))} : Vector{1, 1, 1};
    SetRow(world, 0, x * scale.x);
    SetRow(world, 1, y * scale.y);
    SetRow(world, 2, z * scale.z);
    SetWorldTransform(world);
}

void Frame::SetOrientation(const FramePtr& reference, const Vector& direction, const Vector& up) {
    const Matrix4 toWorld = WorldOf(reference);
    SetWorldAxes(TransformDirection(direction, toWorld), TransformDirection(up, toWorld), reference.get() == this);
}

void Frame::GetOrientation(const FramePtr& reference, Vector& direction, Vector& up) const {
    direction = GetDirection(reference);
    up = Normalize(DirectionIn(reference, Row(World(), 1)));
}

void Frame::LookAt(const FramePtr& target, const FramePtr& reference, int32_t) {
    if (!target) throw Failure(failure_number::ObjectNotSet, "No frame to look at");
    const Vector from = Row(World(), 3);
    const Vector to = Row(target->World(), 3);
    SetWorldAxes(to - from, Row(WorldOf(reference), 1), reference.get() == this);
}

void Frame::SetQuaternion(const FramePtr& reference, const Quaternion& rotation) {
    const Matrix4 turn = Multiply(QuaternionMatrix(rotation), WorldOf(reference));
    SetWorldAxes(Row(turn, 2), Row(turn, 1), reference.get() == this);
}

void Frame::Combine(int32_t mode, const Matrix4& matrix) {
    switch (mode) {
        case combine::Replace:
            local_ = matrix;
            break;
        case combine::Before:
            local_ = Multiply(matrix, local_);
            break;
        case combine::After:
            local_ = Multiply(local_, matrix);
            break;
        default:
            throw Failure(failure_number::InvalidArgument, "Unknown combine type " + std::to_string(mode));
    }
    WorldChanged();
}

void Frame::AddRotation(int32_t mode, const Vector& axis, float angle) { Combine(mode, RotationMatrix(axis, angle)); }
void Frame::AddScale(int32_t mode, float sx, float sy, float sz) { Combine(mode, ScaleMatrix({sx, sy, sz})); }
void Frame::AddTranslation(int32_t mode, float x, float y, float z) { Combine(mode, TranslationMatrix({x, y, z})); }
void Frame::AddTransform(int32_t mode, const Matrix4& matrix) { Combine(mode, matrix); }

Matrix4 Frame::GetTransform(const FramePtr& reference) const {
    return reference ? Multiply(World(), reference->WorldInverse()) : World();
}

void Frame::SetRotation(const FramePtr& reference, const Vector& axis, float anglePerUnit) {
    const Matrix4 toParent = Multiply(WorldOf(reference), parent_ ? parent_->WorldInverse() : Matrix4{});
    rotationAxis_ = TransformDirection(axis, toParent);
    rotationRate_ = anglePerUnit;
}

void Frame::SetVelocity(const FramePtr& reference, float x, float y, float z, bool withRotation) {
    // Two direction turns, not a matrix product: this runs every frame.
    const Vector given{x, y, z};
    const Vector world = IdentityWorld(reference) ? given : TransformDirection(given, reference->World());
    velocity_ = ToParentDirection(world);
    velocityTurns_ = withRotation;
    // A velocity that turns with the frame is one in its own axes: the one in
    // the parent's axes through the inverse of the frame's turn. Kept as
    // given with that turn instead, a move that comes before the frame turns
    // (the usual case: set, then moved at once) takes it as it is, and no
    // inverse is ever made.
    velocityInParent_ = withRotation;
    if (withRotation)
        for (int row = 0; row < 3; ++row) velocityBasis_[row] = Row(local_, row);
}

bool Frame::TurnedSinceVelocity() const {
    for (int row = 0; row < 3; ++row)
        if (!(velocityBasis_[row] == Row(local_, row))) return true;
    return false;
}

void Frame::VelocityToOwnAxes() {
    if (!velocityInParent_) return;
    Matrix4 basis;
    for (int row = 0; row < 3; ++row) SetRow(basis, row, velocityBasis_[row]);
    velocity_ = TransformDirection(velocity_, Inverse(basis));
    velocityInParent_ = false;
}

void Frame::Move(double delta) {
    if (children_.empty()) return MoveOwn(delta);
    // Trees from files may be deep: the walk keeps its own stack, kept
    // between calls so that a move made every tick allocates nothing.
    thread_local std::vector<Frame*> stack;
    stack.clear();
    stack.push_back(this);
    while (!stack.empty()) {
        Frame& frame = *stack.back();
        stack.pop_back();
        frame.MoveOwn(delta);
        for (const FramePtr& child : frame.children_) stack.push_back(child.get());
    }
}

void Frame::MoveOwn(double delta) {
    if (rotationRate_ != 0 && Length(rotationAxis_) > 0) {
        VelocityToOwnAxes();
        const Matrix4 turn = RotationMatrix(rotationAxis_, float(rotationRate_ * delta));
        for (int row = 0; row < 3; ++row) SetRow(local_, row, TransformDirection(Row(local_, row), turn));
    }
    if (velocityInParent_ && TurnedSinceVelocity()) VelocityToOwnAxes();
    const Vector step = velocityTurns_ && !velocityInParent_ ? TransformDirection(velocity_, local_) : velocity_;
    SetRow(local_, 3, Row(local_, 3) + step * float(delta));
    WorldChanged();
}

void Frame::TransformVectors(const FramePtr& reference, int32_t count, Vector* destination,
                             const Vector* source) const {
    const Matrix4 toReference = GetTransform(reference);
    for (int32_t i = 0; i < count; ++i) destination[i] = TransformPoint(source[i], toReference);
}

void Frame::InverseTransformVectors(const FramePtr& reference, int32_t count, Vector* destination,
                                    const Vector* source) const {
    const Matrix4 fromReference = Inverse(GetTransform(reference));
    for (int32_t i = 0; i < count; ++i) destination[i] = TransformPoint(source[i], fromReference);
}

void Frame::GrowBox(const Matrix4& toTarget, Box& box, bool& any) const {
    for (const VisualPtr& visual : visuals_) {
        if (const auto* builder = dynamic_cast<const MeshBuilder*>(visual.get())) {
            if (builder->GetVertexCount() == 0) continue;
            const Box own = builder->GetBox();
            for (int corner = 0; corner < 8; ++corner)
                Grow(box, any,
                     TransformPoint({corner & 1 ? own.max.x : own.min.x, corner & 2 ? own.max.y : own.min.y,
                                     corner & 4 ? own.max.z : own.min.z},
                                    toTarget));
        } else if (const auto* mesh = dynamic_cast<const Mesh*>(visual.get())) {
            for (const MeshVertex& v : mesh->Vertices()) Grow(box, any, TransformPoint(v.position, toTarget));
        }
    }
}

Box Frame::GetHierarchyBox() const {
    Box box;
    bool any = false;
    VisitFrames(*this, Matrix4{}, WalkStack(), [&](const Frame& frame, const Matrix4& toThis) {
        frame.GrowBox(toThis, box, any);
        return true;
    });
    return box;
}

FramePtr Frame::Clone() const {
    FramePtr copy(new Frame(searchPath_));
    copy->local_ = local_;
    copy->visuals_ = visuals_;
    copy->lights_ = lights_;
    copy->velocity_ = velocity_;
    copy->velocityTurns_ = velocityTurns_;
    copy->velocityInParent_ = velocityInParent_;
    std::copy(std::begin(velocityBasis_), std::end(velocityBasis_), std::begin(copy->velocityBasis_));
    copy->rotationAxis_ = rotationAxis_;
    copy->rotationRate_ = rotationRate_;
    copy->traversal_ = traversal_;
    copy->sortMode_ = sortMode_;
    copy->appData_ = appData_;
    copy->name_ = name_;
    return copy;
}

PickArray Frame::RayPick(const FramePtr& reference, const Ray& ray, int32_t) const {
    PickArray result;
    RayPick(reference, ray, result);
    return result;
}

void Frame::RayPick(const FramePtr& reference, const Ray& ray, PickArray& result) const {
    result.hits_.clear();
    const Matrix4& toWorld = WorldOf(reference);
    const Vector direction = Normalize(TransformDirection(ray.direction, toWorld));
    if (Length(direction) == 0) throw Failure(failure_number::InvalidArgument, "A ray pick needs a direction");
    const Vector origin = TransformPoint(ray.position, toWorld);
    VisitFrames(*this, World(), WalkStack(), [&](const Frame& frame, const Matrix4& world) {
        if (!(frame.traversal_ & traversal::Pick)) return false;
        frame.CollectPicks(world, origin, direction, result);
        return true;
    });
    // Few hits, and no buffer to allocate as a stable sort would: insertion.
    auto& hits = result.hits_;
    for (size_t i = 1; i < hits.size(); ++i)
        for (size_t j = i; j > 0 && hits[j].record.distance < hits[j - 1].record.distance; --j)
            std::swap(hits[j], hits[j - 1]);
}

// The hits on this frame's own visuals.
void Frame::CollectPicks(const Matrix4& world, const Vector& origin, const Vector& direction, PickArray& result) const {
    if (!visuals_.empty()) {
        // The ray in this frame's coordinates: t keeps its meaning, world distance.
        const Matrix4 toLocal = Inverse(world);
        const Vector localOrigin = TransformPoint(origin, toLocal);
        const Vector localDirection = TransformDirection(direction, toLocal);
        for (const VisualPtr& visual : visuals_) {
            float t = 0;
            int32_t face = -1;
            if (const auto* builder = dynamic_cast<const MeshBuilder*>(visual.get())) {
                RayHit hit;
                if (!(builder->GetEnable() & enable::Pick) || !builder->Intersect(localOrigin, localDirection, hit))
                    continue;
                t = hit.t;
                face = hit.face;
            } else if (const auto* mesh = dynamic_cast<const Mesh*>(visual.get())) {
                if (!mesh->Intersect(localOrigin, localDirection, t, face)) continue;
            } else {
                continue;
            }
            result.hits_.push_back({visual, {face, origin + direction * t, t}});
        }
    }
}

}  // namespace rm
