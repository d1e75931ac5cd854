#include "viewer/osd/Matrix.h"

#include <cmath>

namespace OnScreenDisplay {

Matrix Matrix::Identity()
{
    return Scaling(1.0f, 1.0f, 1.0f);
}

Matrix Matrix::Translation(float x, float y, float z)
{
    Matrix r = Identity();
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Matrix Matrix::Scaling(float x, float y, float z)
{
    Matrix r{};
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    r.m[3][3] = 1.0f;
    return r;
}

Matrix operator*(const Matrix& a, const Matrix& b)
{
    Matrix r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

Vector3 Matrix::TransformPoint(const Vector3& v) const
{
    float out[4];
    for (int j = 0; j < 4; ++j)
        out[j] = v.x * m[0][j] + v.y * m[1][j] + v.z * m[2][j] + m[3][j];
    const float w = out[3] != 0.0f ? out[3] : 1.0f;
    return {out[0] / w, out[1] / w, out[2] / w};
}

namespace {

Vector3 Normalise(Vector3 v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f)
        return v;
    return {v.x / length, v.y / length, v.z / length};
}

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

} // namespace

Matrix LookAtLH(const Vector3& eye, const Vector3& target, const Vector3& up)
{
    const Vector3 z = Normalise({target.x - eye.x, target.y - eye.y, target.z - eye.z});
    const Vector3 x = Normalise(Cross(up, z));
    const Vector3 y = Cross(z, x);
    Matrix r = Matrix::Identity();
    r.m[0][0] = x.x; r.m[0][1] = y.x; r.m[0][2] = z.x;
    r.m[1][0] = x.y; r.m[1][1] = y.y; r.m[1][2] = z.y;
    r.m[2][0] = x.z; r.m[2][1] = y.z; r.m[2][2] = z.z;
    r.m[3][0] = -Dot(x, eye);
    r.m[3][1] = -Dot(y, eye);
    r.m[3][2] = -Dot(z, eye);
    return r;
}

Matrix PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar)
{
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    Matrix r{};
    r.m[0][0] = yScale / aspect;
    r.m[1][1] = yScale;
    r.m[2][2] = zFar / (zFar - zNear);
    r.m[2][3] = 1.0f;
    r.m[3][2] = -zNear * zFar / (zFar - zNear);
    return r;
}

} // namespace OnScreenDisplay
