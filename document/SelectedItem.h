#pragma once
// What is selected in the view: one of the scene's objects, a light, or
// nothing.

namespace zelvane {

class COGLLight;
class COGLObject;

struct SelectedItem {
    COGLObject* object = nullptr;
    COGLLight* light = nullptr;

    bool IsEmpty() const { return !object && !light; }
    friend bool operator==(const SelectedItem&, const SelectedItem&) = default;
};

} // namespace zelvane
