#pragma once

#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "core/shell/folders.h"
#include "ui/common/prompts.h"

class QAction;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TAboutBox;
class TDir;
class TFrameExtras;
class TGG;
class TMDIChild;
class THelpWindow;
class TRTFForm;
class TRes;
class TSC;
class TVF;

// How the frame starts: the program passes its command line; tests pass a temporary program
// folder and a short start-up delay.
struct TFrameSetup
{
    // The program's folder, ending with "/". Empty: the executable's folder, or the user's
    // data folder when the executable's folder cannot be written.
    QString ProgramDir;
    // The command-line arguments after the program's name.
    QStringList Arguments;
    // Delay of the command-line load, in milliseconds.
    int StartupDelay = 3000;
};

// The frame's client area: black, with the program's picture centred behind the editors.
class TClientArea : public QMdiArea
{
    Q_OBJECT

  public:
    explicit TClientArea(QWidget *parent = nullptr);

    // Where the picture's top-left corner goes in an area of the given size: centred, with
    // the division truncated toward zero, so a picture larger than the area is cut off
    // equally on both sides.
    static QPoint PictureOrigin(QSize area, QSize picture);
    const QPixmap &Picture() const { return Background; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void PaintClientBackground(QPainter &painter);

    QPixmap Background;
};

// The program's main window: a multiple-document frame holding the script editors. It owns
// the start-up (folders, settings, the tool windows, the command-line load), the commands of
// its menus and speed bar, and the record of the target editor that the Line Builder and
// the Syntax Checker act upon.
class TMainForm : public QMainWindow
{
    Q_OBJECT

  public:
    // prompts: where every question of the frame and of the windows it makes goes.
    explicit TMainForm(TPrompts &prompts, const TFrameSetup &setup = TFrameSetup(),
                       QWidget *parent = nullptr);
    ~TMainForm() override;

    // The setup the program uses: its command-line arguments, the executable's folder.
    static TFrameSetup ProgramSetup();

    TClientArea *ClientArea() const { return MdiArea; }
    // The program's folders, fixed at start.
    const TProgramFolders &ProgramFolders() const { return Folders; }
    // The game's folders: read at start, changed by the Directories dialog.
    TGameFolders &GameFolders() { return Game; }
    // The version the settings held at start.
    const std::string &StartVersion() const { return AppVersion; }
    TPrompts &Ask() const { return OwnPrompts; }

    // The child windows, the one focused most recently first, so the active child stands
    // at position 0.
    QList<QMdiSubWindow *> ChildList() const;
    // The active child; none when there is none or it is closing.
    QMdiSubWindow *ActiveChild() const;
    // The active child when it is an editor window; otherwise none.
    TRTFForm *ActiveEditor() const;
    // Every editor window, in the order of ChildList.
    QList<TRTFForm *> Editors() const;

    // Position in ChildList of the editor the Line Builder and the Syntax Checker act upon.
    int TargetIndex = 0;
    void RememberTargetEditor();
    // Activates the child at TargetIndex of the child list as it stands now; nothing when
    // that position names no window.
    void BringTargetEditorToFront();
    // The Line Builder's caption becomes the caption of the child at TargetIndex.
    void CaptionLineBuilder();
    void UpdateEditButtons();
    void HideEditButtons();
    void ShowEditButtons();

    // Loads path into current (when it is an editor and the user agrees) or into a new
    // editor window; an empty path gives an empty editor. Returns the editor used.
    TRTFForm *OpenInEditor(QMdiSubWindow *current, const QString &path);
    // After a child closed: the child focused before it comes forward (Qt would pick the
    // next one in creation order), and the menus and edit buttons follow.
    void ChildClosed(QMdiSubWindow *closed, const QList<QMdiSubWindow *> &childrenBefore);
    // Creates an editor window, shown and active.
    TRTFForm *CreateEditor();

    // The Syntax Checker's actions on the editor whose script it checked last: show the line of
    // the selected entry (or a given line), check the script again.
    void ShowError();
    void ShowErrorLine(int line);
    void RefreshError();
    // Checks editor's text and shows the findings in the Syntax Checker.
    void CheckScript(TRTFForm *editor);
    // editor's script was just checked: the checker's list belongs to it until the next check.
    void ScriptChecked(TRTFForm *editor);
    // Brings editor to the front of the client area, restored when it was minimised.
    void BringEditorToFront(TRTFForm *editor);

    // Menu and speed-bar commands.
    void New1Click();
    void Open1Click();
    void Delete1Click();
    void Exit1Click();
    void SaveButtonClick();
    void UndoButtonClick();
    void CutButtonClick();
    void CopyButtonClick();
    void PasteButtonClick();
    void Tile1Click();
    void Cascade1Click();
    void ArrangeIcons1Click();
    void CloseAll1Click();
    void SetOptions1Click();
    void Contents1Click();
    void About1Click();
    // Shows topic, a page of the help folder with an optional "#section"
    // ("checker.html#messages"), in the help window; reports a missing page.
    void ShowHelp(const QString &topic);
    // The help topic F1 opens in each tool window, by the window's objectName; F1 anywhere else
    // in the program opens the contents.
    static const QList<QPair<QString, QString>> &ToolWindowHelp();
    void OpenGobGoo(const QString &path);
    // Arms the start-up timer for the first command-line argument.
    void LoadCogFrmCmnd();
    void Timer1Timer();

    // The open dialog shared with the Directories dialog; each user sets its title, file
    // name, filter index and initial folder before showing it.
    TFileDialog OpenDialog;
    static constexpr const char *OpenDialogFilter =
        "Jedi Knight Cog File|*.cog|Jedi Knight Gob/Goo File|*.gob;*.goo|Template file|*.tpl";

    // The tool windows, created hidden at start and kept for the whole run; the frame alone
    // wires them, and these are for looking at them.
    TVF *LineBuilder() const { return VF; }
    TAboutBox *About() const { return AboutBox; }
    TGG *Extraction() const { return GG; }
    TRes *ResourcePicker() const { return Res; }
    TDir *Directories() const { return Dir; }
    TSC *SyntaxChecker() const { return SC; }
    THelpWindow *Help() const { return HelpWindow; }
    TFrameExtras *FrameExtras() const { return Extras; }

    QTimer *Timer1 = nullptr;
    QToolBar *SpeedBar = nullptr;
    QToolButton *OpenButton = nullptr;
    QToolButton *SaveButton = nullptr;
    QToolButton *UndoButton = nullptr;
    QToolButton *CutButton = nullptr;
    QToolButton *CopyButton = nullptr;
    QToolButton *PasteButton = nullptr;

    QMenu *File1 = nullptr;
    QMenu *Options1 = nullptr;
    QMenu *Window1 = nullptr;
    QMenu *Help1 = nullptr;
    QAction *New1 = nullptr;
    QAction *Open1 = nullptr;
    QAction *Delete1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *SetOptions1 = nullptr;
    QAction *Tile1 = nullptr;
    QAction *Cascade1 = nullptr;
    QAction *ArrangeIcons1 = nullptr;
    QAction *CloseAll1 = nullptr;
    QAction *Contents1 = nullptr;
    QAction *About1 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    // Ties an editor to the tool windows and the frame's extras: the Syntax Checker's options
    // for its check as you type, the colours, the recent files.
    void SetUpEditor(TRTFForm *editor);

    // The tool windows, created hidden at start in this order.
    TVF *VF = nullptr;
    TAboutBox *AboutBox = nullptr;
    TGG *GG = nullptr;
    TRes *Res = nullptr;
    TDir *Dir = nullptr;
    TSC *SC = nullptr;
    THelpWindow *HelpWindow = nullptr;
    // Recent files, dropped files, the colours option and the extraction status line.
    TFrameExtras *Extras = nullptr;

    void FormCreate(const TFrameSetup &setup);
    // Connects the commands a child window asks the frame for.
    void ConnectChild(TMDIChild *child);
    void CreateMenus();
    void CreateSpeedBar();
    void CreateToolWindows();
    // Gives window an F1 that shows topic.
    void AttachHelp(QWidget *window, const QString &topic);
    // Puts the active editor's menus in place of the frame's File menu.
    void MergeMenus();
    void FillWindowMenu();
    void ChildActivated(QMdiSubWindow *window);
    QToolButton *AddSpeedButton(const QString &name, const QString &hint, const QIcon &icon);
    // Runs command on the active editor, if there is one.
    void ForActiveEditor(void (TRTFForm::*command)());

    TPrompts &OwnPrompts;
    TClientArea *MdiArea;
    QList<QAction *> EditButtonActions;
    QList<QAction *> WindowListActions;
    QStringList Arguments;
    TProgramFolders Folders;
    TGameFolders Game;
    std::string AppVersion;
    // The editor the Syntax Checker's list belongs to; none once it was closed.
    QPointer<TRTFForm> CheckedEditor;
    QList<QMdiSubWindow *> ChildrenBeforeClose;
    QMetaObject::Connection CheckedEditorGone;
};
