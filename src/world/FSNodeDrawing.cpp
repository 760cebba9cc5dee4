#include "world/FSNodeDrawing.h"

#include <GLES/gl.h>

void TranslateRotateEuler(const FSFixedVector& camera, const FSFixedVector& node, FSFixed yaw, FSFixed pitch,
                          FSFixed roll) {
    const FSFixedVector d = node - camera;
    glTranslatex(d.x, d.y, d.z);
    if (roll != 0) glRotatex(roll, 0, 0, kFixedOne);
    if (yaw != 0) glRotatex(yaw, 0, kFixedOne, 0);
    if (pitch != 0) glRotatex(pitch, kFixedOne, 0, 0);
}

void TranslateRotateQuaternion(const FSFixedVector& camera, const FSFixedVector& node,
                               const FSQuaternion& orientation) {
    const FSFixedVector d = node - camera;
    glTranslatex(d.x, d.y, d.z);
    const FSAxisAngle turn = ToDrawingAxisAngle(orientation);
    glRotatex(FloatToFixed(turn.degrees), FloatToFixed(turn.axis.x), FloatToFixed(turn.axis.y),
              FloatToFixed(turn.axis.z));
}
