#include "game/CSPPlaceholderController.h"

#include <GLES/gl.h>

#include <cmath>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSInput.h"
#include "platform/FSClock.h"

namespace {

GLfixed X(float value) { return static_cast<GLfixed>(value * 65536.0f); }

// Sky and fog colour of the test scene.
constexpr float kSky[3] = {0.45f, 0.66f, 0.90f};

// A box from (x0, 0, z0) to (x1, h, z1): four walls and a roof, counter-clockwise outside.
void DrawBox(float x0, float z0, float x1, float z1, float h, const GLubyte wall[3], const GLubyte roof[3]) {
    const GLfixed a = X(x0), b = X(x1), c = X(z0), d = X(z1), t = X(h);
    const GLfixed walls[] = {
        a, 0, d, b, 0, d, b, t, d, a, 0, d, b, t, d, a, t, d,  // front (+z)
        b, 0, c, a, 0, c, a, t, c, b, 0, c, a, t, c, b, t, c,  // back (-z)
        b, 0, d, b, 0, c, b, t, c, b, 0, d, b, t, c, b, t, d,  // right (+x)
        a, 0, c, a, 0, d, a, t, d, a, 0, c, a, t, d, a, t, c,  // left (-x)
    };
    const GLfixed top[] = {a, t, d, b, t, d, b, t, c, a, t, d, b, t, c, a, t, c};
    glVertexPointer(3, GL_FIXED, 0, walls);
    for (int side = 0; side < 4; ++side) {
        const int shade = side < 2 ? 255 : 200;  // a little light from the front
        glColor4ub(static_cast<GLubyte>(wall[0] * shade / 255), static_cast<GLubyte>(wall[1] * shade / 255),
                   static_cast<GLubyte>(wall[2] * shade / 255), 255);
        glDrawArrays(GL_TRIANGLES, side * 6, 6);
    }
    glColor4ub(roof[0], roof[1], roof[2], 255);
    glVertexPointer(3, GL_FIXED, 0, top);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}

void DrawGround() {
    // A 40 x 40 chequer of 2-unit squares in two greens.
    static GLfixed squares[2][20 * 20 * 18];
    static bool built = false;
    static int counts[2] = {0, 0};
    if (!built) {
        for (int i = 0; i < 20; ++i) {
            for (int j = 0; j < 20; ++j) {
                const int k = (i + j) & 1;
                const GLfixed x0 = X(-20.0f + 2.0f * i), x1 = X(-18.0f + 2.0f * i);
                const GLfixed z0 = X(-20.0f + 2.0f * j), z1 = X(-18.0f + 2.0f * j);
                const GLfixed v[18] = {x0, 0, z1, x1, 0, z1, x1, 0, z0, x0, 0, z1, x1, 0, z0, x0, 0, z0};
                for (GLfixed value : v) squares[k][counts[k]++] = value;
            }
        }
        built = true;
    }
    const GLubyte colours[2][3] = {{92, 148, 70}, {120, 170, 84}};
    for (int k = 0; k < 2; ++k) {
        glColor4ub(colours[k][0], colours[k][1], colours[k][2], 255);
        glVertexPointer(3, GL_FIXED, 0, squares[k]);
        glDrawArrays(GL_TRIANGLES, 0, counts[k] / 3);
    }
}

void DrawPyramid() {
    const GLfixed s = X(0.8f), h = X(1.6f);
    const GLfixed sides[] = {
        -s, 0, s,  s, 0, s,  0, h, 0,   // front
        s,  0, s,  s, 0, -s, 0, h, 0,   // right
        s,  0, -s, -s, 0, -s, 0, h, 0,  // back
        -s, 0, -s, -s, 0, s, 0, h, 0,   // left
    };
    const GLubyte shades[4][3] = {{222, 40, 36}, {250, 250, 250}, {170, 24, 24}, {214, 214, 214}};
    glVertexPointer(3, GL_FIXED, 0, sides);
    for (int i = 0; i < 4; ++i) {
        glColor4ub(shades[i][0], shades[i][1], shades[i][2], 255);
        glDrawArrays(GL_TRIANGLES, i * 3, 3);
    }
}

}  // namespace

void CSPPlaceholderController::RunFlightStart() {
    CFSApplicationContext* context = GetApplicationContext();
    CFSEngine* engine = context->engine.get();
    if (!engine) return;
    if (!resumable_) {
        engine->SetState(Loading);
        engine->SetUpSurface();
        engine->SetGLDefaults();
        spin_ = 0.0f;
        heading_ = 0.0f;
        pitch_ = 12.0f;
        frames_ = 0;
        clock_.Reset(platform::TickCount());
    } else {
        clock_.Restart(platform::TickCount());
    }
    resumable_ = 0;
    context->input->SetOrientation(context->game.screenAlign);
    context->input->EnableActionSet(kActionSetFlight);
    engine->SetState(Flying);
}

void CSPPlaceholderController::LeaveToMenu() {
    CFSApplicationContext* context = GetApplicationContext();
    CFSEngine* engine = context->engine.get();
    clock_.Stop(platform::TickCount());
    resumable_ = 1;
    context->input->SetOrientation(context->menuOrientation);
    engine->SetState(Idle);
    engine->SetState(Menu);
}

int CSPPlaceholderController::HandleAction(int action) {
    CFSEngine* engine = GetApplicationContext()->engine.get();
    if (!engine) return 0;
    const int state = engine->State();
    if (state != Flying && state != Paused) return 0;
    const float step = 3.0f * GetApplicationContext()->timeScale;
    switch (action) {
        case 30:
            LeaveToMenu();
            return 1;
        case 29:
            engine->SetState(state == Flying ? Paused : Flying);
            GetApplicationContext()->input->EnableActionSet(state == Flying ? kActionSetPaused : kActionSetFlight);
            return 1;
        case 12:
            pitch_ = std::fmin(pitch_ + step, 80.0f);
            return 1;
        case 13:
            pitch_ = std::fmax(pitch_ - step, -10.0f);
            return 1;
        case 14:
            heading_ -= step;
            return 1;
        case 15:
            heading_ += step;
            return 1;
        default:
            return 0;
    }
}

void CSPPlaceholderController::Update() {
    // One frame of game time: 6 degrees of spin at the nominal 18 frames per second.
    spin_ = std::fmod(spin_ + 6.0f * GetApplicationContext()->timeScale, 360.0f);
    ++frames_;
}

void CSPPlaceholderController::CameraStep() {
    CFSApplicationContext* context = GetApplicationContext();
    const int align = context->game.screenAlign;
    glClearColorx(X(kSky[0]), X(kSky[1]), X(kSky[2]), X(1.0f));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    const GLfixed fog[4] = {X(kSky[0]), X(kSky[1]), X(kSky[2]), X(1.0f)};
    glFogx(GL_FOG_MODE, GL_LINEAR);
    glFogxv(GL_FOG_COLOR, fog);
    glFogx(GL_FOG_START, X(6.0f));
    glFogx(GL_FOG_END, X(24.0f));

    glLoadIdentity();
    // The picture is shown turned for the landscape orientations: roll the view so the
    // sky ends up at the top of what the player sees.
    if (align == 1) glRotatex(X(90.0f), 0, 0, X(1.0f));
    if (align == 2) glRotatex(X(-90.0f), 0, 0, X(1.0f));
    glTranslatex(0, X(-0.8f), X(-7.0f));
    glRotatex(X(pitch_), X(1.0f), 0, 0);
    glRotatex(X(heading_), 0, X(1.0f), 0);
    glTranslatex(0, X(-1.0f), 0);

    DrawGround();
    const GLubyte hangar[3] = {176, 180, 186};
    const GLubyte roof[3] = {120, 64, 52};
    DrawBox(-6.0f, -6.0f, -3.0f, -3.5f, 1.4f, hangar, roof);
    DrawBox(3.5f, -9.0f, 5.5f, -7.0f, 2.6f, hangar, roof);
    glPushMatrix();
    glRotatex(X(spin_), 0, X(1.0f), 0);
    DrawPyramid();
    glPopMatrix();

    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
}
