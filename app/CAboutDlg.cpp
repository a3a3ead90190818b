#include "app/CAboutDlg.h"

#include "app/ApplicationIcon.h"
#include "report/Version.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvane {

namespace {

constexpr const char* kTrademarks = "The Sims and Living Large are trademarks of Maxis.\n"
                                    "Windows is a trademark of Microsoft Corporation.\n"
                                    "OpenGL is a trademark of Silicon Graphics, Inc.";

std::string Formatted(const char* label, const std::string& value)
{
    return std::string(label) + value + "\n";
}

QLabel* Label(const QString& text, const char* name)
{
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

std::array<std::string, 3> CAboutDlg::OpenGLLines(const OpenGLInfo& openGL)
{
    return {Formatted("Version:\t\t", openGL.version), Formatted("Vendor:\t\t", openGL.vendor),
            Formatted("Renderer:\t", openGL.renderer)};
}

CAboutDlg::CAboutDlg(const OpenGLInfo& openGL, const std::vector<std::string>& pluginLines, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About zelvane"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ApplicationIcon().pixmap(QSize(128, 128)));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    QLabel* name = Label(QStringLiteral("zelvane"), "programName");
    name->setFont(title);
    QLabel* version = Label(QStringLiteral("Version %1").arg(QString::fromLatin1(kProgramVersion)), "version");

    // Each line is "label\t\tvalue\n": the label and the value in two columns.
    auto* openGLGroup = new QGroupBox(tr("OpenGL Information"));
    auto* openGLGrid = new QGridLayout(openGLGroup);
    const char* names[3] = {"openGLVersion", "openGLVendor", "openGLRenderer"};
    const std::array<std::string, 3> lines = OpenGLLines(openGL);
    for (int i = 0; i < 3; ++i) {
        const QString line = QString::fromStdString(lines[static_cast<size_t>(i)]).trimmed();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        openGLGrid->addWidget(new QLabel(line.left(tab)), i, 0);
        QLabel* value = Label(line.mid(tab).trimmed(), names[i]);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        openGLGrid->addWidget(value, i, 1);
    }
    openGLGrid->setColumnStretch(1, 1);

    QLabel* trademarks = Label(QString::fromLatin1(kTrademarks), "trademarks");

    auto* pluginGroup = new QGroupBox(tr("Plug-in Information"));
    auto* plugins = new QListWidget;
    plugins->setObjectName(QStringLiteral("pluginList"));
    for (const std::string& line : pluginLines)
        plugins->addItem(QString::fromStdString(line));
    (new QVBoxLayout(pluginGroup))->addWidget(plugins);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addWidget(openGLGroup);
    text->addWidget(trademarks);
    text->addWidget(pluginGroup, 1);
    text->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addLayout(text, 1);
    resize(520, 440);
}

} // namespace zelvane
