#include "ui/frame/mainframe.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "core/analysis/cogchecker.h"
#include "core/shell/fileio.h"
#include "core/shell/folders.h"
#include "core/shell/shellrules.h"
#include "ui/analysis/checkerwindow.h"
#include "ui/common/modal.h"
#include "ui/common/pictures.h"
#include "ui/common/settingskey.h"
#include "ui/common/uihelpers.h"
#include "ui/editor/livecheck.h"
#include "ui/editor/scripteditor.h"
#include "ui/frame/aboutbox.h"
#include "ui/frame/frameextras.h"
#include "ui/frame/helpwindow.h"
#include "ui/gamedata/directoriesdialog.h"
#include "ui/gamedata/extractiondialog.h"
#include "ui/gamedata/resourcepicker.h"
#include "ui/linebuilder/linebuilderwindow.h"

TClientArea::TClientArea(QWidget *parent) : QMdiArea(parent), Background(ProgramPicture())
{
    setObjectName("ClientArea");
    setBackground(Qt::black);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QPoint TClientArea::PictureOrigin(QSize area, QSize picture)
{
    // C++ integer division truncates toward zero, as the centring wants for an area smaller
    // than the picture.
    return {(area.width() - picture.width()) / 2, (area.height() - picture.height()) / 2};
}

void TClientArea::paintEvent(QPaintEvent *event)
{
    QMdiArea::paintEvent(event);
    QPainter painter(viewport());
    PaintClientBackground(painter);
}

void TClientArea::PaintClientBackground(QPainter &painter)
{
    // Centred in the client area's whole rectangle, scroll bars included, so the picture does
    // not jump when they come and go; the painter works on the viewport inside it.
    painter.drawPixmap(PictureOrigin(size(), Background.size()) - viewport()->pos(), Background);
}

void TClientArea::scrollContentsBy(int dx, int dy)
{
    QMdiArea::scrollContentsBy(dx, dy);
    // The picture belongs to the visible area, not to the scrolled contents.
    viewport()->update();
}

TMainForm::TMainForm(TPrompts &prompts, const TFrameSetup &setup, QWidget *parent)
    : QMainWindow(parent), OwnPrompts(prompts), MdiArea(new TClientArea(this))
{
    setObjectName("MainForm");
    setWindowTitle("Quillex");
    setWindowIcon(ProgramIcon());
    setCentralWidget(MdiArea);
    resize(900, 640);

    OpenDialog.Title = "Open File";
    OpenDialog.Filter = OpenDialogFilter;
    OpenDialog.FilterIndex = 1;

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    CreateMenus();
    CreateSpeedBar();
    connect(MdiArea, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow *window) { ChildActivated(window); });
    // Back from another program, the script in front may have been changed by it.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    if (TRTFForm *editor = ActiveEditor())
                        editor->CheckFileOnDisk();
            });

    FormCreate(setup);
    CreateToolWindows();
    Extras = new TFrameExtras(this);
    // A script named on the command line may have opened while a start-up box was up, before
    // the rest of the frame was made: it is set up now.
    for (TRTFForm *editor : Editors())
        SetUpEditor(editor);
}

TMainForm::~TMainForm()
{
    // The editors go with the client area after this object's own part is gone; their
    // activation changes must not reach it any more.
    disconnect(MdiArea, nullptr, this, nullptr);
}

TFrameSetup TMainForm::ProgramSetup()
{
    TFrameSetup setup;
    setup.Arguments = QCoreApplication::arguments().mid(1);
    return setup;
}

void TMainForm::FormCreate(const TFrameSetup &setup)
{
    if (setup.ProgramDir.isEmpty())
    {
        const QString exeDir = QCoreApplication::applicationDirPath() + "/";
        const QString userDir =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/";
        std::vector<std::string> kept;
        Folders =
            ProgramFoldersIn(ChooseProgramDir(exeDir.toStdString(), userDir.toStdString(), &kept));
        if (!kept.empty())
        {
            QString list;
            for (const std::string &name : kept)
                list += "\n" + Q(name);
            Ask().ShowMessage("You changed these program files in your folder; they were "
                              "kept, and this version's copies were not put in their "
                              "place:" +
                              list);
        }
    }
    else
        Folders = ProgramFoldersIn(setup.ProgramDir.toStdString());
    const TStartupSettings settings = LoadSettingsAtStart(OwnPrompts);
    AppVersion = settings.AppVersion;
    Game = settings.Game;

    Arguments = setup.Arguments;
    Timer1->setInterval(setup.StartupDelay);
    LoadCogFrmCmnd();
}

void TMainForm::CreateMenus()
{
    File1 = new QMenu("&File", this);
    File1->setObjectName("File1");
    New1 = AddItem(File1, "New1", "&New", QKeySequence("Ctrl+N"));
    Open1 = AddItem(File1, "Open1", "&Open", QKeySequence("Ctrl+O"));
    File1->addSeparator();
    Delete1 = AddItem(File1, "Delete1", "Delete");
    File1->addSeparator();
    Exit1 = AddItem(File1, "Exit1", "E&xit");
    connect(New1, &QAction::triggered, this, [this] { New1Click(); });
    connect(Open1, &QAction::triggered, this, [this] { Open1Click(); });
    connect(Delete1, &QAction::triggered, this, [this] { Delete1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });

    Options1 = new QMenu("Options", this);
    Options1->setObjectName("Options1");
    SetOptions1 = AddItem(Options1, "SetOptions1", "Set Options");
    connect(SetOptions1, &QAction::triggered, this, [this] { SetOptions1Click(); });

    Window1 = new QMenu("&Window", this);
    Window1->setObjectName("Window1");
    Tile1 = AddItem(Window1, "Tile1", "&Tile");
    Cascade1 = AddItem(Window1, "Cascade1", "&Cascade");
    ArrangeIcons1 = AddItem(Window1, "ArrangeIcons1", "&Arrange Icons");
    CloseAll1 = AddItem(Window1, "CloseAll1", "C&lose All");
    connect(Tile1, &QAction::triggered, this, [this] { Tile1Click(); });
    connect(Cascade1, &QAction::triggered, this, [this] { Cascade1Click(); });
    connect(ArrangeIcons1, &QAction::triggered, this, [this] { ArrangeIcons1Click(); });
    connect(CloseAll1, &QAction::triggered, this, [this] { CloseAll1Click(); });
    connect(Window1, &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });

    Help1 = new QMenu("Help", this);
    Help1->setObjectName("Help1");
    Contents1 = AddItem(Help1, "Contents1", "Contents", QKeySequence(Qt::Key_F1));
    Help1->addSeparator();
    About1 = AddItem(Help1, "About1", "About");
    connect(Contents1, &QAction::triggered, this, [this] { Contents1Click(); });
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });

    MergeMenus();
}

QToolButton *TMainForm::AddSpeedButton(const QString &name, const QString &hint, const QIcon &icon)
{
    auto *button = new QToolButton(SpeedBar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    QAction *action = SpeedBar->addWidget(button);
    if (name != "OpenButton" && name != "SaveButton")
        EditButtonActions << action;
    return button;
}

void TMainForm::CreateSpeedBar()
{
    SpeedBar = addToolBar("Speed bar");
    SpeedBar->setObjectName("SpeedBar");
    SpeedBar->setMovable(false);
    SpeedBar->setFloatable(false);
    SpeedBar->setIconSize(QSize(20, 20));
    SpeedBar->setFixedHeight(28);
    SpeedBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    OpenButton = AddSpeedButton("OpenButton", "Open", ButtonIcon("open"));
    SaveButton = AddSpeedButton("SaveButton", "Save", ButtonIcon("save"));
    SpeedBar->addSeparator();
    UndoButton = AddSpeedButton("UndoButton", "Undo", ButtonIcon("undo"));
    CutButton = AddSpeedButton("CutButton", "Cut", ButtonIcon("cut"));
    CopyButton = AddSpeedButton("CopyButton", "Copy", ButtonIcon("copy"));
    PasteButton = AddSpeedButton("PasteButton", "Paste", ButtonIcon("paste"));
    connect(OpenButton, &QToolButton::clicked, this, [this] { Open1Click(); });
    connect(SaveButton, &QToolButton::clicked, this, [this] { SaveButtonClick(); });
    connect(UndoButton, &QToolButton::clicked, this, [this] { UndoButtonClick(); });
    connect(CutButton, &QToolButton::clicked, this, [this] { CutButtonClick(); });
    connect(CopyButton, &QToolButton::clicked, this, [this] { CopyButtonClick(); });
    connect(PasteButton, &QToolButton::clicked, this, [this] { PasteButtonClick(); });
}

void TMainForm::CreateToolWindows()
{
    // The Line Builder and the Resource Picker read their files while they are created, so
    // they come after the settings; the order is that of the program's start.
    VF = new TVF(QString::fromStdString(Folders.DataDir), OwnPrompts, Game, this);
    connect(VF, &TVF::Shown, this, &TMainForm::RememberTargetEditor);
    AboutBox = new TAboutBox(QString::fromStdString(AppVersion), this);
    GG = new TGG(OwnPrompts, Folders.ProgramDir, this);
    Res = new TRes(OwnPrompts, Game, Folders.ProgramDir, this);
    VF->SetPicker(Res);
    // The Directories dialog locates the game's files with the frame's open dialog and the
    // user's folder with the picker's.
    Dir = new TDir(OwnPrompts, Game, OpenDialog, Res->OD1, this);
    SC = new TSC(OwnPrompts, this);
    connect(SC, &TSC::Shown, this, &TMainForm::RememberTargetEditor);
    connect(SC, &TSC::ErrorChosen, this, &TMainForm::ShowErrorLine);
    connect(SC, &TSC::RefreshAsked, this, &TMainForm::RefreshError);
    // The picker reads the game folders again as soon as they are saved or the other game is
    // chosen.
    connect(Dir, &TDir::FoldersChanged, Res, &TRes::ReadGameFolders);
    SC->AddOptionItems(Options1);
    for (const auto &[name, topic] : ToolWindowHelp())
        if (auto *window = findChild<QWidget *>(name, Qt::FindDirectChildrenOnly))
            AttachHelp(window, topic);
}

const QList<QPair<QString, QString>> &TMainForm::ToolWindowHelp()
{
    static const QList<QPair<QString, QString>> topics = {
        {"VF", "linebuilder.html"},           {"SC", "checker.html"},
        {"Res", "gamedata.html#picker"},      {"GG", "gamedata.html#extraction"},
        {"Dir", "gamedata.html#directories"},
    };
    return topics;
}

void TMainForm::AttachHelp(QWidget *window, const QString &topic)
{
    auto *help = new QAction(window);
    help->setObjectName("HelpKey");
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    window->addAction(help);
    connect(help, &QAction::triggered, this, [this, topic] { ShowHelp(topic); });
}

void TMainForm::ShowError()
{
    ShowErrorLine(SC->SelectedLine());
}

void TMainForm::ShowErrorLine(int line)
{
    // The lines are those of the script that was checked, whichever editor is in front now.
    if (line < 0 || !CheckedEditor || CheckedEditor->IsClosing())
        return;
    BringEditorToFront(CheckedEditor);
    CheckedEditor->HiLitLine(line);
}

void TMainForm::ConnectChild(TMDIChild *child)
{
    connect(child, &TMDIChild::NewAsked, this, &TMainForm::New1Click);
    connect(child, &TMDIChild::OpenAsked, this, &TMainForm::Open1Click);
    connect(child, &TMDIChild::ExitAsked, this, &QWidget::close);
    // The child list before the close, to bring forward the child focused before it.
    connect(child, &TMDIChild::AboutToClose, this, [this] {
        ChildrenBeforeClose = ChildList();
        HideEditButtons();
    });
    connect(child, &TMDIChild::Closed, this,
            [this](QMdiSubWindow *closed) { ChildClosed(closed, ChildrenBeforeClose); });
}

void TMainForm::CheckScript(TRTFForm *editor)
{
    ScriptChecked(editor);
    SC->ShowCheckOf(editor->Text());
    SC->show();
    SC->raise();
    SC->activateWindow();
}

void TMainForm::ScriptChecked(TRTFForm *editor)
{
    if (CheckedEditor == editor)
        return;
    disconnect(CheckedEditorGone);
    CheckedEditor = editor;
    CheckedEditorGone = connect(editor, &QObject::destroyed, SC, &TSC::ShowScriptClosed);
}

void TMainForm::BringEditorToFront(TRTFForm *editor)
{
    if (editor->isMinimized())
        editor->showNormal();
    MdiArea->setActiveSubWindow(editor);
    editor->raise();
}

void TMainForm::RefreshError()
{
    TRTFForm *editor = CheckedEditor;
    if (!editor || editor->IsClosing())
        return;
    BringEditorToFront(editor);

    // Writing the text out and reading it back is what clears the red. When the write fails
    // the operation ends there: reading back whatever an earlier refresh left in the file
    // would put another text in place of the user's. The file is the checker's, not the
    // user's: a character a script file cannot hold is written as the file would hold it,
    // without a question, and the editor keeps its own text (LoadFromFile finds no other).
    const QString temp = QString::fromStdString(Folders.DataDir) + "~temp.tmp";
    if (!editor->SaveToFile(temp, TUnwritable::WriteAsFileHoldsIt))
        return;

    TCogEdit *re = editor->RE;
    QTextCursor cursor = re->textCursor();
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    const int across = re->horizontalScrollBar()->value();
    const int down = re->verticalScrollBar()->value();
    // A failed read is reported and leaves the text as it was; either way the user's place
    // in the text is kept.
    const bool loaded = editor->LoadFromFile(temp);
    const int end = re->document()->characterCount() - 1;
    cursor = QTextCursor(re->document());
    cursor.setPosition(std::clamp(anchor, 0, end));
    cursor.setPosition(std::clamp(position, 0, end), QTextCursor::KeepAnchor);
    re->setTextCursor(cursor);
    re->horizontalScrollBar()->setValue(across);
    re->verticalScrollBar()->setValue(down);

    if (loaded)
        editor->SBConCheckClick();
}

QList<QMdiSubWindow *> TMainForm::ChildList() const
{
    const QList<QMdiSubWindow *> history = MdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    std::vector<QMdiSubWindow *> open;
    for (QMdiSubWindow *child : history)
    {
        auto *mdiChild = qobject_cast<TMDIChild *>(child);
        if (!mdiChild || !mdiChild->IsClosing())
            open.push_back(child);
    }
    const std::vector<QMdiSubWindow *> recent = MostRecentFirst(open);
    return QList<QMdiSubWindow *>(recent.begin(), recent.end());
}

QMdiSubWindow *TMainForm::ActiveChild() const
{
    QMdiSubWindow *current = MdiArea->currentSubWindow();
    auto *child = qobject_cast<TMDIChild *>(current);
    return child && child->IsClosing() ? nullptr : current;
}

TRTFForm *TMainForm::ActiveEditor() const
{
    return qobject_cast<TRTFForm *>(ActiveChild());
}

void TMainForm::ChildClosed(QMdiSubWindow *closed, const QList<QMdiSubWindow *> &childrenBefore)
{
    const QList<QMdiSubWindow *> open = ChildList();
    for (QMdiSubWindow *child : childrenBefore)
        if (child != closed && open.contains(child))
        {
            MdiArea->setActiveSubWindow(child);
            break;
        }
    MergeMenus();
    UpdateEditButtons();
}

QList<TRTFForm *> TMainForm::Editors() const
{
    QList<TRTFForm *> editors;
    for (QMdiSubWindow *child : ChildList())
        if (auto *editor = qobject_cast<TRTFForm *>(child))
            editors << editor;
    return editors;
}

void TMainForm::RememberTargetEditor()
{
    QMdiSubWindow *current = ActiveChild();
    if (qobject_cast<TRTFForm *>(current))
        TargetIndex = ChildList().indexOf(current);
}

void TMainForm::BringTargetEditorToFront()
{
    const QList<QMdiSubWindow *> children = ChildList();
    if (TargetIndex < 0 || TargetIndex >= children.size())
        return;
    QMdiSubWindow *target = children[TargetIndex];
    if (target->isMinimized())
        target->showNormal();
    MdiArea->setActiveSubWindow(target);
    target->raise();
}

void TMainForm::CaptionLineBuilder()
{
    const QList<QMdiSubWindow *> children = ChildList();
    if (TargetIndex >= 0 && TargetIndex < children.size())
        VF->setWindowTitle(TEditorTools::FileCaption(children[TargetIndex]));
}

void TMainForm::ChildActivated(QMdiSubWindow *window)
{
    MergeMenus();
    UpdateEditButtons();
    if (auto *editor = qobject_cast<TRTFForm *>(window))
        editor->CheckFileOnDisk();
}

void TMainForm::UpdateEditButtons()
{
    QMdiSubWindow *current = ActiveChild();
    if (!current)
        HideEditButtons();
    else if (qobject_cast<TRTFForm *>(current))
        ShowEditButtons();
}

void TMainForm::HideEditButtons()
{
    for (QAction *action : EditButtonActions)
        action->setVisible(false);
}

void TMainForm::ShowEditButtons()
{
    for (QAction *action : EditButtonActions)
        action->setVisible(true);
}

void TMainForm::MergeMenus()
{
    // Qt has no menu merging: the bar is rebuilt from the active child's menus and the
    // frame's own. Menus leaving the bar lose their shortcuts with it, so the frame's and
    // the editor's Ctrl+N never compete.
    QMenuBar *bar = menuBar();
    bar->clear();
    auto *child = qobject_cast<TMDIChild *>(ActiveChild());
    if (child)
        for (QMenu *menu : child->MergedMenus())
            bar->addMenu(menu);
    else
        bar->addMenu(File1);
    bar->addMenu(Options1);
    bar->addMenu(Window1);
    bar->addMenu(Help1);
}

void TMainForm::FillWindowMenu()
{
    for (QAction *action : WindowListActions)
        delete action;
    WindowListActions.clear();
    const QList<QMdiSubWindow *> children = MdiArea->subWindowList(QMdiArea::CreationOrder);
    if (children.isEmpty())
        return;
    WindowListActions << Window1->addSeparator();
    int number = 1;
    for (QMdiSubWindow *child : children)
    {
        QAction *item = Window1->addAction(
            QString("&%1 %2").arg(number++).arg(TEditorTools::FileCaption(child)));
        item->setCheckable(true);
        item->setChecked(child == ActiveChild());
        QPointer<QMdiSubWindow> target(child);
        connect(item, &QAction::triggered, this, [this, target] {
            if (target)
                MdiArea->setActiveSubWindow(target);
        });
        WindowListActions << item;
    }
}

void TMainForm::SetUpEditor(TRTFForm *editor)
{
    // The check as you type follows the checks chosen for Check Cog.
    editor->LiveCheck->SetOptions(SC->AnalysisOptions());
    connect(SC, &TSC::CheckOptionsChanged, editor,
            [this, editor] { editor->LiveCheck->SetOptions(SC->AnalysisOptions()); });
    Extras->EditorCreated(editor);
}

TRTFForm *TMainForm::CreateEditor()
{
    auto *editor = new TRTFForm(OwnPrompts, Folders.CogDir);
    ConnectChild(editor);
    connect(editor, &TRTFForm::Clicked, this, &TMainForm::RememberTargetEditor);
    connect(editor, &TRTFForm::LineBuilderAsked, this, [this] {
        RememberTargetEditor();
        VF->show();
        VF->raise();
    });
    connect(editor, &TRTFForm::SymbolsScanned, this, [this](TRTFForm *, const TSymbolTree &tree) {
        CaptionLineBuilder();
        VF->ShowSymbolsUsed(tree);
    });
    connect(editor, &TRTFForm::PasteAsked, this,
            [this](TRTFForm *target) { target->PasteBuiltLine(VF->SelectBuiltLine()); });
    connect(editor, &TRTFForm::CheckRequested, this, &TMainForm::CheckScript);
    // The tool windows and the extras are made last at start: the constructor sets up an
    // editor made before them.
    if (Extras)
        SetUpEditor(editor);
    MdiArea->addSubWindow(editor);
    editor->show();
    MdiArea->setActiveSubWindow(editor);
    return editor;
}

TRTFForm *TMainForm::OpenInEditor(QMdiSubWindow *current, const QString &path)
{
    auto *editor = qobject_cast<TRTFForm *>(current);
    if (editor && Ask().Confirm("Load file into current form?"))
    {
        // Loading replaces the text and what Undo could bring back: a changed text is first
        // offered for saving, as closing the window would, and Cancel keeps everything.
        if (editor->FormCloseQuery())
            editor->LoadFile(path);
        return editor;
    }
    editor = CreateEditor();
    if (!path.isEmpty())
        editor->LoadFile(path);
    return editor;
}

void TMainForm::New1Click()
{
    // The starter script is found whatever the letter case of its name on disk.
    const std::string path = FindFileNoCase(Folders.CogDir, "default.cog");
    if (path.empty())
    {
        Ask().ShowMessage(" Cannot find \"default.cog\" in \" \\cog \" Directory");
        return;
    }
    OpenInEditor(ActiveChild(), Q(path));
}

void TMainForm::Open1Click()
{
    if (!DirectoryExists(Folders.CogDir))
        CreateDir(Folders.CogDir);
    // The Directories dialog leaves its own titles on the shared dialog.
    OpenDialog.Title = "Open File";
    OpenDialog.FilterIndex = 1;
    OpenDialog.InitialDir = Q(Folders.CogDir);
    if (!Ask().ChooseOpenFile(OpenDialog))
        return;
    const QString path = OpenDialog.FileName;
    switch (OpenKindOf(path.toStdString()))
    {
    case TOpenKind::Script:
        OpenInEditor(ActiveChild(), path);
        break;
    case TOpenKind::Archive:
        OpenGobGoo(path);
        break;
    case TOpenKind::Nothing:
        break;
    }
}

void TMainForm::OpenGobGoo(const QString &path)
{
    GG->LoadGob(path);
    ShowModal(GG);
}

void TMainForm::Delete1Click()
{
    OpenDialog.Title = "Delete File";
    OpenDialog.AcceptLabel = "Delete";
    // To the desktop's trash where there is one, so a wrong pick can be undone; deleted for
    // good where there is none.
    if (Ask().ChooseOpenFile(OpenDialog) && !QFile::moveToTrash(OpenDialog.FileName) &&
        !QFile::remove(OpenDialog.FileName))
        Ask().ShowMessage(
            "File not deleted,May Be In Use By Another Application Or Marked Read Only");
    OpenDialog.Title = "Open File";
    OpenDialog.AcceptLabel.clear();
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::SaveButtonClick()
{
    if (TRTFForm *editor = ActiveEditor())
        editor->Save();
    else
        Ask().ShowMessage("No Cog File is Open to Save");
}

void TMainForm::ForActiveEditor(void (TRTFForm::*command)())
{
    if (TRTFForm *editor = ActiveEditor())
        (editor->*command)();
}

void TMainForm::UndoButtonClick()
{
    ForActiveEditor(&TRTFForm::Undo1Click);
}

void TMainForm::CutButtonClick()
{
    ForActiveEditor(&TRTFForm::Cut1Click);
}

void TMainForm::CopyButtonClick()
{
    ForActiveEditor(&TRTFForm::Copy1Click);
}

void TMainForm::PasteButtonClick()
{
    ForActiveEditor(&TRTFForm::Paste1Click);
}

void TMainForm::Tile1Click()
{
    // One above the other, each as wide as the client area; QMdiArea's own tiling makes a
    // grid instead.
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *child : ChildList())
        if (child->isVisible() && !child->isMinimized())
            windows << child;
    if (windows.isEmpty())
        return;
    const QSize area = MdiArea->viewport()->size();
    const int height = area.height() / windows.size();
    for (int i = 0; i < windows.size(); ++i)
    {
        QMdiSubWindow *child = windows[i];
        if (child->isMaximized())
            child->showNormal();
        const int h = i + 1 < windows.size() ? height : area.height() - height * i;
        child->setGeometry(0, height * i, area.width(), h);
    }
}

void TMainForm::Cascade1Click()
{
    MdiArea->cascadeSubWindows();
}

void TMainForm::ArrangeIcons1Click()
{
    // The minimised windows in a row along the bottom of the client area.
    const int bottom = MdiArea->viewport()->height();
    int x = 0;
    for (QMdiSubWindow *child : MdiArea->subWindowList(QMdiArea::CreationOrder))
    {
        if (!child->isMinimized())
            continue;
        child->move(x, bottom - child->height());
        x += child->width();
    }
}

void TMainForm::CloseAll1Click()
{
    // From the last of the child list to the first; a window whose question is answered
    // Cancel stays, and the others are still closed.
    const QList<QMdiSubWindow *> children = ChildList();
    for (qsizetype i = children.size() - 1; i >= 0; --i)
    {
        QPointer<QMdiSubWindow> child(children[i]);
        if (child)
            child->close();
    }
}

void TMainForm::SetOptions1Click()
{
    Dir->show();
    Dir->raise();
    Dir->activateWindow();
}

void TMainForm::Contents1Click()
{
    ShowHelp("index.html");
}

void TMainForm::ShowHelp(const QString &topic)
{
    // While a dialog is modal (the picker, the extraction dialog), every window outside it
    // takes no input: the help of such a dialog is a window of that dialog until the help is
    // asked for elsewhere. Qt keeps a child window on the screen when its parent hides.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner || owner == HelpWindow)
        owner = this;
    if (!HelpWindow)
        HelpWindow = new THelpWindow(owner);
    else if (HelpWindow->parentWidget() != owner)
    {
        const QRect place = HelpWindow->geometry();
        HelpWindow->setParent(owner, HelpWindow->windowFlags());
        HelpWindow->setGeometry(place);
    }
    const QUrl url = QUrl::fromLocalFile(Q(Folders.ProgramDir) + "help/").resolved(QUrl(topic));
    if (!HelpWindow->ShowPage(url))
    {
        Ask().ShowIOError("File not found: " + url.toLocalFile());
        return;
    }
    HelpWindow->show();
    HelpWindow->raise();
    HelpWindow->activateWindow();
}

void TMainForm::About1Click()
{
    ShowModal(AboutBox);
}

void TMainForm::LoadCogFrmCmnd()
{
    if (!Arguments.isEmpty())
        Timer1->start();
}

void TMainForm::Timer1Timer()
{
    Timer1->stop();
    if (Arguments.isEmpty())
        return;
    const QString path = Arguments.first();
    if (!DirectoryExists(Folders.CogDir))
        CreateDir(Folders.CogDir);
    if (OpenKindOf(path.toStdString()) == TOpenKind::Script)
        OpenInEditor(ActiveChild(), path);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Every editor is asked in the order of the child list; the first Cancel keeps the frame
    // and all windows, including those already saved.
    for (QMdiSubWindow *child : ChildList())
    {
        auto *editor = qobject_cast<TRTFForm *>(child);
        if (editor && !editor->FormCloseQuery())
        {
            event->ignore();
            return;
        }
    }
    event->accept();
}
