#pragma once
// The modal "About zelvane" box: the program's icon, name and version, the
// OpenGL version, vendor and renderer of the view's context, the trademark
// notice and the list of loaded plug-ins.

#include "scene/OpenGLInfo.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

namespace zelvane {

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // `pluginLines` as the plug-in host gives them (CPluginManager::InfoLines).
    CAboutDlg(const OpenGLInfo& openGL, const std::vector<std::string>& pluginLines, QWidget* parent = nullptr);

    // The three lines of the "OpenGL Information" group: "Version:\t\t%s\n",
    // "Vendor:\t\t%s\n" and "Renderer:\t%s\n".
    static std::array<std::string, 3> OpenGLLines(const OpenGLInfo& openGL);
};

} // namespace zelvane
