#pragma once
// What the editor's GUI tests share: a private settings folder, where a world
// point shows in the view, and answering the next message box.

#include "scene/COGLViewport3D.h"

#include <QApplication>
#include <QMessageBox>
#include <QPoint>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace zelvane::test {

// The view's client point (logical pixels) where `world` is drawn.
inline QPoint WhereShown(const COGLViewport3D& viewport, const Vector3& world, qreal pixelRatio)
{
    const COGLCamera3D& camera = viewport.Camera();
    const Vector3 eye = camera.ViewMatrix().TransformPoint(world);
    const OrthoVolume v = OrthoVolume::Of(viewport.Width(), viewport.Height(), camera.Distance(), false);
    const double x = (eye.x - v.left) / (v.right - v.left) * viewport.Width();
    const double yUp = (eye.y - v.bottom) / (v.top - v.bottom) * viewport.Height();
    return {static_cast<int>(std::lround(x / pixelRatio)),
            static_cast<int>(std::lround((viewport.Height() - yUp) / pixelRatio))};
}

inline bool Near(const Vector3& a, const Vector3& b)
{
    return std::fabs(a.x - b.x) < 1e-5f && std::fabs(a.y - b.y) < 1e-5f && std::fabs(a.z - b.z) < 1e-5f;
}

// Clicks `button` in the next message box that opens, and keeps its text.
inline void AnswerNextMessageBox(QMessageBox::StandardButton button, QString* text = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            AnswerNextMessageBox(button, text);
            return;
        }
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

} // namespace zelvane::test
