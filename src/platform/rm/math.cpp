#include "platform/rm/math.h"

namespace rm {

Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t) {
    float cosine = a.s * b.s + a.x * b.x + a.y * b.y + a.z * b.z;
    Quaternion end = b;
    if (cosine < 0) {
        cosine = -cosine;
        end = {-b.s, -b.x, -b.y, -b.z};
    }
    float wa = 1 - t, wb = t;
    if (cosine < 0.9995f) {
        const float angle = std::acos(cosine);
        const float sine = std::sin(angle);
        wa = std::sin((1 - t) * angle) / sine;
        wb = std::sin(t * angle) / sine;
    }
    return {wa * a.s + wb * end.s, wa * a.x + wb * end.x, wa * a.y + wb * end.y, wa * a.z + wb * end.z};
}

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

Matrix4 Inverse(const Matrix4& a) {
    const float(&m)[4][4] = a.m;
    const float c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const float c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const float c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const float determinant = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (determinant == 0 || !std::isfinite(determinant)) return {};
    const float k = 1 / determinant;
    Matrix4 r;
    r.m[0][0] = c00 * k;
    r.m[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * k;
    r.m[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * k;
    r.m[1][0] = c01 * k;
    r.m[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * k;
    r.m[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * k;
    r.m[2][0] = c02 * k;
    r.m[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * k;
    r.m[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * k;
    r.m[0][3] = r.m[1][3] = r.m[2][3] = 0;
    const Vector t = TransformDirection(Row(a, 3), r);
    SetRow(r, 3, t * -1);
    r.m[3][3] = 1;
    return r;
}

Matrix4 TranslationMatrix(const Vector& offset) {
    Matrix4 r;
    SetRow(r, 3, offset);
    return r;
}

Matrix4 ScaleMatrix(const Vector& factors) {
    Matrix4 r;
    r.m[0][0] = factors.x;
    r.m[1][1] = factors.y;
    r.m[2][2] = factors.z;
    return r;
}

Matrix4 RotationMatrix(const Vector& axis, float angle) {
    const Vector n = Normalize(axis);
    const float half = angle / 2;
    const float sine = std::sin(half);
    return QuaternionMatrix({std::cos(half), n.x * sine, n.y * sine, n.z * sine});
}

Matrix4 QuaternionMatrix(const Quaternion& q) {
    const float length = std::sqrt(q.s * q.s + q.x * q.x + q.y * q.y + q.z * q.z);
    if (length == 0) return {};
    const float s = q.s / length, x = q.x / length, y = q.y / length, z = q.z / length;
    // Rows are the images of the unit axes, as row vectors take them.
    Matrix4 r;
    r.m[0][0] = 1 - 2 * (y * y + z * z);
    r.m[0][1] = 2 * (x * y + s * z);
    r.m[0][2] = 2 * (x * z - s * y);
    r.m[1][0] = 2 * (x * y - s * z);
    r.m[1][1] = 1 - 2 * (x * x + z * z);
    r.m[1][2] = 2 * (y * z + s * x);
    r.m[2][0] = 2 * (x * z + s * y);
    r.m[2][1] = 2 * (y * z - s * x);
    r.m[2][2] = 1 - 2 * (x * x + y * y);
    return r;
}

}  // namespace rm
