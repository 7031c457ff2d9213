#include "ui/frame/frameextras.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include "core/gamedata/extractreport.h"
#include "core/shell/editorprefs.h"
#include "core/shell/shellrules.h"
#include "ui/common/prompts.h"
#include "ui/common/settingskey.h"
#include "ui/editor/livecheck.h"
#include "ui/editor/scripteditor.h"
#include "ui/frame/mainframe.h"
#include "ui/gamedata/extractiondialog.h"

namespace {
// The local files a drag from a file manager carries.
QStringList DroppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool CanOpen(const QStringList &files)
{
    for (const QString &file : files)
        if (OpenKindOf(file.toStdString()) != TOpenKind::Nothing)
            return true;
    return false;
}
} // namespace

TFrameExtras::TFrameExtras(TMainForm *frame) : QObject(frame), Frame(frame)
{
    setObjectName("FrameExtras");
    auto key = OpenSettingsKey();
    Recent = ReadRecentFiles(*key);
    Highlighting = ReadHighlightSetting(*key);
    CheckingAsYouType = ReadCheckAsYouTypeSetting(*key);
    CloseSettingsKey(key, Frame->Ask());

    RecentFiles1 = new QMenu("Recent &Files", frame);
    RecentFiles1->setObjectName("RecentFiles1");
    frame->File1->addSeparator();
    frame->File1->addMenu(RecentFiles1);
    FillRecentMenu();

    Highlight1 = frame->Options1->addAction("Syntax &Highlighting");
    Highlight1->setObjectName("Highlight1");
    Highlight1->setCheckable(true);
    Highlight1->setChecked(Highlighting);
    connect(Highlight1, &QAction::triggered, this, [this] { Highlight1Click(); });
    CheckAsYouType1 = frame->Options1->addAction("Check as you &type");
    CheckAsYouType1->setObjectName("CheckAsYouType1");
    CheckAsYouType1->setCheckable(true);
    CheckAsYouType1->setChecked(CheckingAsYouType);
    connect(CheckAsYouType1, &QAction::triggered, this, [this] { CheckAsYouType1Click(); });

    frame->statusBar()->setObjectName("FrameStatus");
    connect(frame->Extraction(), &TGG::ScriptsExtracted, this,
            [this](const QStringList &files) { ReportExtraction(files); });

    frame->setAcceptDrops(true);
    frame->installEventFilter(this);
}

void TFrameExtras::EditorCreated(TRTFForm *editor)
{
    editor->Tools->SetHighlighting(Highlighting);
    editor->LiveCheck->SetEnabled(CheckingAsYouType);
    editor->File1->addSeparator();
    editor->File1->addMenu(RecentFiles1);
    connect(editor->Tools, &TEditorTools::FileNamed, this,
            [this](const QString &path) { AddRecentFile(path); });
    // The text takes drops from the Line Builder's tree only; files dropped on it open as
    // they do on the frame.
    editor->RE->viewport()->installEventFilter(this);
}

void TFrameExtras::OpenAsFileOpen(const QString &path)
{
    switch (OpenKindOf(path.toStdString()))
    {
    case TOpenKind::Script:
        Frame->OpenInEditor(Frame->ActiveChild(), path);
        break;
    case TOpenKind::Archive:
        Frame->OpenGobGoo(path);
        break;
    case TOpenKind::Nothing:
        break;
    }
}

QStringList TFrameExtras::RecentFiles() const
{
    QStringList list;
    for (const std::string &path : Recent)
        list << QString::fromStdString(path);
    return list;
}

void TFrameExtras::AddRecentFile(const QString &path)
{
    Recent = ::AddRecentFile(Recent, QFileInfo(path).absoluteFilePath().toStdString());
    StoreRecentFiles();
}

void TFrameExtras::OpenRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path))
    {
        Recent = RemoveRecentFile(Recent, path.toStdString());
        StoreRecentFiles();
        Frame->Ask().ShowMessage(
            QString("\"%1\" no longer exists; it is taken off the recent files.").arg(path));
        return;
    }
    OpenAsFileOpen(path);
}

void TFrameExtras::StoreRecentFiles()
{
    auto key = OpenSettingsKey();
    WriteRecentFiles(*key, Recent);
    CloseSettingsKey(key, Frame->Ask());
    FillRecentMenu();
}

void TFrameExtras::FillRecentMenu()
{
    RecentFiles1->clear();
    int number = 1;
    for (const QString &path : RecentFiles())
    {
        QAction *item = RecentFiles1->addAction(QString("&%1 %2").arg(number++).arg(path));
        connect(item, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    }
    RecentFiles1->setEnabled(!Recent.empty());
}

void TFrameExtras::Highlight1Click()
{
    Highlighting = Highlight1->isChecked();
    for (TRTFForm *editor : Frame->Editors())
        editor->Tools->SetHighlighting(Highlighting);
    StoreSwitch(WriteHighlightSetting, Highlighting);
}

void TFrameExtras::CheckAsYouType1Click()
{
    CheckingAsYouType = CheckAsYouType1->isChecked();
    for (TRTFForm *editor : Frame->Editors())
        editor->LiveCheck->SetEnabled(CheckingAsYouType);
    StoreSwitch(WriteCheckAsYouTypeSetting, CheckingAsYouType);
}

void TFrameExtras::StoreSwitch(void (*write)(TSettingsKey &key, bool on), bool on)
{
    auto key = OpenSettingsKey();
    write(*key, on);
    CloseSettingsKey(key, Frame->Ask());
}

void TFrameExtras::ReportExtraction(const QStringList &files)
{
    std::vector<std::string> paths;
    for (const QString &file : files)
        paths.push_back(file.toStdString());
    // A line in the status bar, not a box: a user need not click it away, and learns where
    // the scripts went when the program writes to the user's own folder.
    Frame->statusBar()->showMessage(QString::fromStdString(ExtractionReport(paths)));
}

bool TFrameExtras::eventFilter(QObject *, QEvent *event)
{
    switch (event->type())
    {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    {
        auto *drag = static_cast<QDropEvent *>(event);
        if (!CanOpen(DroppedFiles(drag->mimeData())))
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop:
    {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = DroppedFiles(drop->mimeData());
        if (!CanOpen(files))
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // Opened once the drop is over: the file manager waits for the drop to end, and an
        // archive opens a modal dialog.
        QTimer::singleShot(0, this, [this, files] {
            for (const QString &file : files)
                OpenAsFileOpen(file);
        });
        return true;
    }
    default:
        return false;
    }
}
