// 4x4 float matrices in the convention of Direct3D's fixed-function pipeline: row vectors
// (v' = v x M), translation in the fourth row, left-handed view and projection.
#pragma once

namespace OnScreenDisplay {

struct Vector3 {
    float x, y, z;
};

struct Matrix {
    float m[4][4];

    static Matrix Identity();
    static Matrix Translation(float x, float y, float z);
    static Matrix Scaling(float x, float y, float z);
    // a x b: applying the result applies a first, then b.
    friend Matrix operator*(const Matrix& a, const Matrix& b);
    Vector3 TransformPoint(const Vector3& v) const; // with the perspective divide
};

// A camera at eye looking at target, left-handed.
Matrix LookAtLH(const Vector3& eye, const Vector3& target, const Vector3& up);
// Left-handed perspective: vertical field of view in radians, width / height, near and far planes.
Matrix PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);

} // namespace OnScreenDisplay
