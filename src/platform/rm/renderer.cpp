#include "platform/rm/renderer.h"

#include "platform/failure.h"
#include "platform/rm/frame.h"
#include "platform/rm/mesh.h"
#include "platform/rm/mesh_builder.h"
#include "platform/rm/shaders.h"
#include "platform/rm/texture.h"
#include "platform/rm/viewport.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLShaderProgram>

#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

namespace rm {
namespace {

constexpr int kMaxLights = 8;

// One vertex as the shaders take it; the same layout as a mesh record.
struct GpuVertex {
    Vector position;
    Vector normal;
    float u, v;
    uint32_t color;
};
static_assert(sizeof(GpuVertex) == sizeof(MeshVertex));

struct GpuBatch {
    MaterialPtr material;
    TexturePtr texture;
    int32_t first;
    int32_t count;
};

// Buffers of one mesh builder or mesh, remade when its revision changes.
struct GpuMesh {
    std::weak_ptr<const void> owner;
    uint64_t revision = 0;
    GLuint vao = 0, vbo = 0, ibo = 0;
    size_t vertexCapacity = 0;
    std::vector<GpuBatch> batches;  // index ranges (mesh) or vertex ranges (builder)
};

struct GpuTexture {
    std::weak_ptr<const void> owner;
    uint64_t revision = 0;
    GLuint name = 0;
    int32_t quality = -1;
};

struct DrawItem {
    const Visual* visual;
    Matrix4 world;
};

struct LightItem {
    const Light* light;
    Matrix4 world;
};

Vector FaceNormal(const Face& face, const std::vector<Vector>& positions) {
    Vector sum;
    const auto& corners = face.Corners();
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        sum = sum + Cross(positions[corners[i].vertex] - positions[corners[0].vertex],
                          positions[corners[i + 1].vertex] - positions[corners[0].vertex]);
    return Normalize(sum);
}

// Left-handed view (x right, y up, z forward) to clip space; y is turned
// over so that the picture's rows run from the top.
Matrix4 ViewProjection(const Viewport& viewport, const Matrix4& camera) {
    const float n = viewport.GetFront(), f = std::max(viewport.GetBack(), n * 1.001f);
    const float shorter = float(std::min(viewport.GetWidth(), viewport.GetHeight()));
    const float scale = n / viewport.GetField();
    Matrix4 projection;
    projection.m[0][0] = scale * shorter / float(viewport.GetWidth());
    projection.m[1][1] = -scale * shorter / float(viewport.GetHeight());
    projection.m[2][2] = (f + n) / (f - n);
    projection.m[2][3] = 1;
    projection.m[3][2] = -2 * f * n / (f - n);
    projection.m[3][3] = 0;
    Matrix4 unscaledCamera = camera;
    for (int row = 0; row < 3; ++row) SetRow(unscaledCamera, row, Normalize(Row(camera, row)));
    return Multiply(Inverse(unscaledCamera), projection);
}

// Comes first among the bases of the state, so that the context outlives the
// function tables that hang on it.
struct OffscreenContext {
    QOpenGLContext context;
    QOffscreenSurface surface;
};

}  // namespace

struct Renderer::State : OffscreenContext, QOpenGLFunctions_3_3_Core {
    QOpenGLShaderProgram program;
    GLuint framebuffer = 0, colorBuffer = 0, depthBuffer = 0;
    GLuint decalVao = 0, decalVbo = 0;
    int width, height;
    RenderSettings settings;
    std::unordered_map<const void*, GpuMesh> meshes;
    std::unordered_map<const void*, GpuTexture> textures;
    std::vector<DrawItem> items;
    std::vector<DrawItem> decals;
    std::vector<LightItem> lights;
    std::vector<GpuVertex> scratch;
    std::vector<FrameVisit> walk;
    uint64_t framesSincePurge = 0;

    // Uniform locations.
    int uWorld, uViewProjection, uLit, uFlat, uTextured, uTexture, uAmbientLight, uLightCount, uLightType, uLightColor,
        uLightPosition, uLightDirection, uLightCone, uEmissive, uSpecular, uMaterialAmbient, uPower, uEye;

    void MakeCurrent() {
        if (!context.makeCurrent(&surface))
            throw Failure(failure_number::ObjectNotSet, "The OpenGL context cannot be made current");
    }

    void Gather(const Frame& root, const Matrix4& parentWorld, Vector ambient[1]) {
        VisitFrames(root, Multiply(root.LocalTransform(), parentWorld), walk,
                    [&](const Frame& frame, const Matrix4& world) {
                        if (!(frame.GetTraversalOptions() & traversal::Draw)) return false;
                        GatherOwn(frame, world, ambient);
                        return true;
                    });
    }

    void GatherOwn(const Frame& frame, const Matrix4& world, Vector ambient[1]) {
        for (const LightPtr& light : frame.Lights()) {
            if (light->GetType() == light_type::Ambient) {
                const ColorRGB c = light->GetColor();
                ambient[0] = ambient[0] + Vector{c.r, c.g, c.b};
            } else if (lights.size() < kMaxLights) {
                lights.push_back({light.get(), world});
            }
        }
        for (int32_t i = 0; i < frame.GetVisualCount(); ++i) {
            const Visual* visual = frame.GetVisual(i).get();
            if (const auto* builder = dynamic_cast<const MeshBuilder*>(visual)) {
                if ((builder->GetEnable() & enable::Render) && builder->GetFaceCount() > 0)
                    items.push_back({visual, world});
            } else if (dynamic_cast<const Mesh*>(visual)) {
                items.push_back({visual, world});
            } else if (dynamic_cast<const Texture*>(visual)) {
                decals.push_back({visual, world});
            }
        }
    }

    GpuMesh& Buffers(const void* key, const std::shared_ptr<const void>& owner) {
        GpuMesh& gpu = meshes[key];
        if (gpu.owner.expired() && gpu.vao) gpu.revision = 0;  // a new object where a freed one was
        if (!gpu.vao) {
            glGenVertexArrays(1, &gpu.vao);
            glGenBuffers(1, &gpu.vbo);
            glGenBuffers(1, &gpu.ibo);
            glBindVertexArray(gpu.vao);
            glBindBuffer(GL_ARRAY_BUFFER, gpu.vbo);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.ibo);
            SetVertexLayout();
        }
        gpu.owner = owner;
        return gpu;
    }

    void SetVertexLayout() {
        const GLsizei stride = sizeof(GpuVertex);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, position)));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, normal)));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(GpuVertex, u)));
        glEnableVertexAttribArray(3);
        // 0xAARRGGBB in memory is B, G, R, A.
        glVertexAttribPointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              reinterpret_cast<void*>(offsetof(GpuVertex, color)));
    }

    void Upload(GpuMesh& gpu, const std::vector<GpuVertex>& vertices) {
        glBindBuffer(GL_ARRAY_BUFFER, gpu.vbo);
        const GLsizeiptr bytes = GLsizeiptr(vertices.size() * sizeof(GpuVertex));
        if (vertices.size() > gpu.vertexCapacity) {
            glBufferData(GL_ARRAY_BUFFER, bytes, vertices.data(), GL_DYNAMIC_DRAW);
            gpu.vertexCapacity = vertices.size();
        } else {
            glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices.data());
        }
    }

    // A builder's faces as triangles, one vertex per corner, grouped by look.
    GpuMesh& Prepare(const MeshBuilder& builder) {
        GpuMesh& gpu = Buffers(&builder, builder.shared_from_this());
        if (gpu.revision == builder.Revision()) return gpu;
        scratch.clear();
        gpu.batches.clear();
        const auto& positions = builder.Positions();
        const auto& normals = builder.Normals();
        const auto& coordinates = builder.Coordinates();
        const auto& faces = builder.Faces();
        std::vector<bool> done(faces.size(), false);
        for (size_t f = 0; f < faces.size(); ++f) {
            if (done[f]) continue;
            GpuBatch batch{faces[f]->GetMaterial(), faces[f]->GetTexture(), int32_t(scratch.size()), 0};
            for (size_t g = f; g < faces.size(); ++g) {
                const Face& face = *faces[g];
                if (done[g] || face.GetMaterial() != batch.material || face.GetTexture() != batch.texture) continue;
                done[g] = true;
                const Vector flat = FaceNormal(face, positions);
                const auto& corners = face.Corners();
                for (size_t i = 1; i + 1 < corners.size(); ++i) {
                    for (const Face::Corner& corner : {corners[0], corners[i], corners[i + 1]}) {
                        const Vector normal = corner.normal >= 0 && size_t(corner.normal) < normals.size()
                                                  ? normals[corner.normal]
                                                  : flat;
                        scratch.push_back({positions[corner.vertex], normal, coordinates[corner.vertex].u,
                                           coordinates[corner.vertex].v, face.GetColor()});
                    }
                }
            }
            batch.count = int32_t(scratch.size()) - batch.first;
            if (batch.count > 0) gpu.batches.push_back(batch);
        }
        glBindVertexArray(gpu.vao);
        Upload(gpu, scratch);
        gpu.revision = builder.Revision();
        return gpu;
    }

    GpuMesh& Prepare(const Mesh& mesh) {
        GpuMesh& gpu = Buffers(&mesh, mesh.shared_from_this());
        if (gpu.revision == mesh.Revision()) return gpu;
        glBindVertexArray(gpu.vao);
        if (gpu.revision == 0) {
            const auto& indices = mesh.Indices();
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.ibo);
            glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)), indices.data(),
                         GL_STATIC_DRAW);
            gpu.batches.clear();
            for (const Mesh::Batch& b : mesh.Batches())
                gpu.batches.push_back({b.material, b.texture, b.firstIndex, b.indexCount});
        }
        const auto& records = mesh.Vertices();
        glBindBuffer(GL_ARRAY_BUFFER, gpu.vbo);
        const GLsizeiptr bytes = GLsizeiptr(records.size() * sizeof(MeshVertex));
        if (records.size() > gpu.vertexCapacity) {
            glBufferData(GL_ARRAY_BUFFER, bytes, records.data(), GL_DYNAMIC_DRAW);
            gpu.vertexCapacity = records.size();
        } else {
            glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, records.data());
        }
        gpu.revision = mesh.Revision();
        return gpu;
    }

    void Bind(const Texture& texture) {
        GpuTexture& gpu = textures[&texture];
        if (gpu.owner.expired()) gpu.revision = 0;
        gpu.owner = texture.shared_from_this();
        if (!gpu.name) glGenTextures(1, &gpu.name);
        glBindTexture(GL_TEXTURE_2D, gpu.name);
        if (gpu.revision != texture.Revision()) {
            const QImage& picture = texture.Picture();
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, picture.width(), picture.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         picture.constBits());
            glGenerateMipmap(GL_TEXTURE_2D);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
            gpu.revision = texture.Revision();
            gpu.quality = -1;
        }
        if (gpu.quality != settings.textureQuality) {
            static constexpr std::array<GLint, 6> kMinify = {GL_NEAREST,
                                                             GL_LINEAR,
                                                             GL_NEAREST_MIPMAP_NEAREST,
                                                             GL_NEAREST_MIPMAP_LINEAR,
                                                             GL_LINEAR_MIPMAP_NEAREST,
                                                             GL_LINEAR_MIPMAP_LINEAR};
            const size_t q = size_t(std::clamp(settings.textureQuality, 0, 5));
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinify[q]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, q == 0 || q == 2 || q == 3 ? GL_NEAREST : GL_LINEAR);
            gpu.quality = settings.textureQuality;
        }
    }

    void SetLook(const MaterialPtr& material, const Texture* texture) {
        const ColorRGB emissive = material ? material->GetEmissive() : ColorRGB{0, 0, 0};
        const ColorRGB specular = material ? material->GetSpecular() : ColorRGB{0, 0, 0};
        const ColorRGB ambient = material ? material->GetAmbient() : ColorRGB{1, 1, 1};
        glUniform3f(uEmissive, emissive.r, emissive.g, emissive.b);
        glUniform3f(uSpecular, specular.r, specular.g, specular.b);
        glUniform3f(uMaterialAmbient, ambient.r, ambient.g, ambient.b);
        glUniform1f(uPower, material ? material->GetPower() : 0);
        glUniform1i(uTextured, texture ? 1 : 0);
        if (texture) Bind(*texture);
    }

    void SetLights(const Vector& ambient) {
        glUniform3f(uAmbientLight, ambient.x, ambient.y, ambient.z);
        glUniform1i(uLightCount, GLint(lights.size()));
        for (size_t i = 0; i < lights.size(); ++i) {
            const Light& light = *lights[i].light;
            const Vector position = Row(lights[i].world, 3);
            const Vector direction = Normalize(Row(lights[i].world, 2));
            const ColorRGB c = light.GetColor();
            const GLint n = GLint(i);
            glUniform1i(uLightType + n, light.GetType());
            glUniform3f(uLightColor + n, c.r, c.g, c.b);
            glUniform3f(uLightPosition + n, position.x, position.y, position.z);
            glUniform3f(uLightDirection + n, direction.x, direction.y, direction.z);
            glUniform2f(uLightCone + n, std::cos(Light::kUmbra / 2), std::cos(Light::kPenumbra / 2));
        }
    }

    void DrawDecal(const Texture& texture, const Matrix4& world, const Matrix4& camera) {
        const Vector right = Normalize(Row(camera, 0)), up = Normalize(Row(camera, 1));
        const Vector origin = Row(world, 3);
        const float w = texture.GetDecalWidth(), h = texture.GetDecalHeight();
        const float left = -w * float(texture.GetDecalOriginX()) / float(texture.GetWidth());
        const float top = h * float(texture.GetDecalOriginY()) / float(texture.GetHeight());
        const auto corner = [&](float x, float y, float u, float v) {
            return GpuVertex{origin + right * x + up * y, Vector{}, u, v, 0xFFFFFFFF};
        };
        const GpuVertex quad[6] = {corner(left, top, 0, 0),         corner(left + w, top, 1, 0),
                                   corner(left + w, top - h, 1, 1), corner(left, top, 0, 0),
                                   corner(left + w, top - h, 1, 1), corner(left, top - h, 0, 1)};
        glBindVertexArray(decalVao);
        glBindBuffer(GL_ARRAY_BUFFER, decalVbo);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(quad), quad);
        SetLook(nullptr, &texture);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    }

    // The frame's lights and visuals, from `root` down; returns the sum of
    // its ambient lights.
    Vector Collect(const Frame& root) {
        items.clear();
        decals.clear();
        lights.clear();
        Vector ambient[1] = {};
        const FramePtr parent = root.GetParent();
        Gather(root, parent ? parent->WorldTransform() : Matrix4{}, ambient);
        return ambient[0];
    }

    void SetPipelineState(const Viewport& viewport) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(viewport.GetX(), viewport.GetY(), viewport.GetWidth(), viewport.GetHeight());
        glEnable(GL_SCISSOR_TEST);
        glScissor(viewport.GetX(), viewport.GetY(), viewport.GetWidth(), viewport.GetHeight());
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        const bool wireframe = (settings.quality & quality::FillMask) == quality::FillWireframe;
        glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    }

    void SetFrameUniforms(const Matrix4& viewProjection, const Matrix4& camera, const Vector& ambient) {
        program.bind();
        glUniformMatrix4fv(uViewProjection, 1, GL_FALSE, &viewProjection.m[0][0]);
        const Vector eye = Row(camera, 3);
        glUniform3f(uEye, eye.x, eye.y, eye.z);
        glUniform1i(uTexture, 0);
        glActiveTexture(GL_TEXTURE0);
        glUniform1i(uLit, (settings.quality & quality::LightOn) ? 1 : 0);
        glUniform1i(uFlat, (settings.quality & quality::ShadeMask) == quality::ShadeFlat ? 1 : 0);
        SetLights(ambient);
    }

    void DrawItems() {
        for (const DrawItem& item : items) {
            glUniformMatrix4fv(uWorld, 1, GL_FALSE, &item.world.m[0][0]);
            if (const auto* builder = dynamic_cast<const MeshBuilder*>(item.visual))
                Draw(*builder);
            else
                Draw(static_cast<const Mesh&>(*item.visual));
        }
    }

    void Draw(const MeshBuilder& builder) {
        GpuMesh& gpu = Prepare(builder);
        glBindVertexArray(gpu.vao);
        for (const GpuBatch& batch : gpu.batches) {
            SetLook(batch.material, batch.texture.get());
            glDrawArrays(GL_TRIANGLES, batch.first, batch.count);
        }
    }

    void Draw(const Mesh& mesh) {
        GpuMesh& gpu = Prepare(mesh);
        glBindVertexArray(gpu.vao);
        for (const GpuBatch& batch : gpu.batches) {
            SetLook(batch.material, batch.texture.get());
            glDrawElements(GL_TRIANGLES, batch.count, GL_UNSIGNED_INT,
                           reinterpret_cast<void*>(size_t(batch.first) * sizeof(uint32_t)));
        }
    }

    // Decals face the camera, unlit and filled whatever the quality.
    void DrawDecals(const Matrix4& camera) {
        if (decals.empty()) return;
        const Matrix4 identity;
        glUniformMatrix4fv(uWorld, 1, GL_FALSE, &identity.m[0][0]);
        glUniform1i(uLit, 0);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        for (const DrawItem& decal : decals) DrawDecal(static_cast<const Texture&>(*decal.visual), decal.world, camera);
    }

    // Leaves the context as the clears and fills expect it.
    void EndFrame() {
        glBindVertexArray(0);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glDisable(GL_SCISSOR_TEST);
        program.release();
        Purge();
    }

    void Purge() {
        if (++framesSincePurge < 120) return;
        framesSincePurge = 0;
        for (auto it = meshes.begin(); it != meshes.end();) {
            if (it->second.owner.expired()) {
                glDeleteVertexArrays(1, &it->second.vao);
                glDeleteBuffers(1, &it->second.vbo);
                glDeleteBuffers(1, &it->second.ibo);
                it = meshes.erase(it);
            } else {
                ++it;
            }
        }
        for (auto it = textures.begin(); it != textures.end();) {
            if (it->second.owner.expired()) {
                glDeleteTextures(1, &it->second.name);
                it = textures.erase(it);
            } else {
                ++it;
            }
        }
    }
};

Renderer::Renderer(int width, int height) : state_(std::make_unique<State>()) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        throw Failure(failure_number::InvalidArgument, "Bad device size");
    State& s = *state_;
    s.width = width;
    s.height = height;
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    s.context.setFormat(format);
    s.surface.setFormat(format);
    s.surface.create();
    if (!s.context.create() || !s.surface.isValid() || s.context.format().version() < qMakePair(3, 3))
        throw Failure(failure_number::ObjectNotSet, "No OpenGL 3.3 device is available");
    s.MakeCurrent();
    if (!s.initializeOpenGLFunctions()) throw Failure(failure_number::ObjectNotSet, "No OpenGL 3.3 functions");
    if (!s.program.addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !s.program.addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) || !s.program.link())
        throw Failure(failure_number::ObjectNotSet, "Shaders: " + s.program.log().toStdString());
    const auto at = [&](const char* name) { return s.program.uniformLocation(name); };
    s.uWorld = at("uWorld");
    s.uViewProjection = at("uViewProjection");
    s.uLit = at("uLit");
    s.uFlat = at("uFlat");
    s.uTextured = at("uTextured");
    s.uTexture = at("uTexture");
    s.uAmbientLight = at("uAmbientLight");
    s.uLightCount = at("uLightCount");
    s.uLightType = at("uLightType[0]");
    s.uLightColor = at("uLightColor[0]");
    s.uLightPosition = at("uLightPosition[0]");
    s.uLightDirection = at("uLightDirection[0]");
    s.uLightCone = at("uLightCone[0]");
    s.uEmissive = at("uEmissive");
    s.uSpecular = at("uSpecular");
    s.uMaterialAmbient = at("uMaterialAmbient");
    s.uPower = at("uPower");
    s.uEye = at("uEye");

    s.glGenFramebuffers(1, &s.framebuffer);
    s.glBindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    s.glGenRenderbuffers(1, &s.colorBuffer);
    s.glBindRenderbuffer(GL_RENDERBUFFER, s.colorBuffer);
    s.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    s.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s.colorBuffer);
    s.glGenRenderbuffers(1, &s.depthBuffer);
    s.glBindRenderbuffer(GL_RENDERBUFFER, s.depthBuffer);
    s.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    s.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, s.depthBuffer);
    if (s.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        throw Failure(failure_number::ObjectNotSet, "No render target of that size");

    s.glGenVertexArrays(1, &s.decalVao);
    s.glGenBuffers(1, &s.decalVbo);
    s.glBindVertexArray(s.decalVao);
    s.glBindBuffer(GL_ARRAY_BUFFER, s.decalVbo);
    s.glBufferData(GL_ARRAY_BUFFER, 6 * sizeof(GpuVertex), nullptr, GL_DYNAMIC_DRAW);
    s.SetVertexLayout();

    s.glViewport(0, 0, width, height);
    s.glClearColor(0, 0, 0, 1);
    s.glClearDepth(1);
    s.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Renderer::~Renderer() {
    State& s = *state_;
    if (!s.context.makeCurrent(&s.surface)) return;
    for (auto& [key, gpu] : s.meshes) {
        s.glDeleteVertexArrays(1, &gpu.vao);
        s.glDeleteBuffers(1, &gpu.vbo);
        s.glDeleteBuffers(1, &gpu.ibo);
    }
    for (auto& [key, gpu] : s.textures) s.glDeleteTextures(1, &gpu.name);
    s.glDeleteVertexArrays(1, &s.decalVao);
    s.glDeleteBuffers(1, &s.decalVbo);
    s.glDeleteRenderbuffers(1, &s.colorBuffer);
    s.glDeleteRenderbuffers(1, &s.depthBuffer);
    s.glDeleteFramebuffers(1, &s.framebuffer);
    s.context.doneCurrent();
}

int Renderer::Width() const { return state_->width; }
int Renderer::Height() const { return state_->height; }
void Renderer::SetSettings(const RenderSettings& settings) { state_->settings = settings; }

void Renderer::Clear(const QRect& area, int32_t flags) {
    State& s = *state_;
    s.MakeCurrent();
    s.glBindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    s.glEnable(GL_SCISSOR_TEST);
    s.glScissor(area.x(), area.y(), area.width(), area.height());
    s.glDepthMask(GL_TRUE);
    s.glClearColor(0, 0, 0, 1);
    s.glClear(((flags & clear::Target) ? GL_COLOR_BUFFER_BIT : 0) |
              ((flags & clear::ZBuffer) ? GL_DEPTH_BUFFER_BIT : 0));
    s.glDisable(GL_SCISSOR_TEST);
}

void Renderer::Fill(const QRect& area, uint32_t color) {
    State& s = *state_;
    s.MakeCurrent();
    s.glBindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    s.glEnable(GL_SCISSOR_TEST);
    s.glScissor(area.x(), area.y(), area.width(), area.height());
    const ColorRGB c = ColorComponents(color);
    s.glClearColor(c.r, c.g, c.b, 1);
    s.glClear(GL_COLOR_BUFFER_BIT);
    s.glClearColor(0, 0, 0, 1);
    s.glDisable(GL_SCISSOR_TEST);
}

void Renderer::Render(const Viewport& viewport, const Frame& root) {
    State& s = *state_;
    if (!viewport.GetCamera()) throw Failure(failure_number::ObjectNotSet, "The viewport has no camera");
    s.MakeCurrent();
    const Vector ambient = s.Collect(root);
    const Matrix4 camera = viewport.GetCamera()->WorldTransform();
    s.SetPipelineState(viewport);
    s.SetFrameUniforms(ViewProjection(viewport, camera), camera, ambient);
    s.DrawItems();
    s.DrawDecals(camera);
    s.EndFrame();
}

void Renderer::ReadPixels(const QRect& area, uint8_t* destination, int stride) {
    State& s = *state_;
    const QRect inside = area.intersected(QRect(0, 0, s.width, s.height));
    if (inside != area) throw Failure(failure_number::InvalidArgument, "Rectangle outside the picture");
    s.MakeCurrent();
    s.glBindFramebuffer(GL_FRAMEBUFFER, s.framebuffer);
    s.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    s.glPixelStorei(GL_PACK_ROW_LENGTH, stride / 4);
    s.glReadPixels(area.x(), area.y(), area.width(), area.height(), GL_RGBA, GL_UNSIGNED_BYTE, destination);
    s.glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}

}  // namespace rm
