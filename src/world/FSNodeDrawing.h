#pragma once
// Placing a node for drawing. The model-view matrix holds only the camera's rotation, so a
// node translates by its position minus the camera's (both already made relative to one
// cell by the caller, usually camera = (0, 0, 0) and node = CFSCamera::RelativePosition)
// and then rotates. Call with the node's matrix pushed.
#include "world/FSFixedVector.h"
#include "world/FSVectorMath.h"

// glTranslatex by node − camera, then, for each angle that is not zero, glRotatex by roll
// about (0, 0, 1), by yaw about (0, 1, 0), by pitch about (1, 0, 0), in that order.
// Angles are degrees in 16.16.
void TranslateRotateEuler(const FSFixedVector& camera, const FSFixedVector& node, FSFixed yaw, FSFixed pitch,
                          FSFixed roll);

// glTranslatex by node − camera, then one glRotatex by the orientation's drawing
// axis-angle (ToDrawingAxisAngle), angle and axis in 16.16.
void TranslateRotateQuaternion(const FSFixedVector& camera, const FSFixedVector& node,
                               const FSQuaternion& orientation);
