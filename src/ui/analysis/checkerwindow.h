#pragma once

#include <QColor>
#include <QDialog>

#include "core/analysis/cogchecker.h"
#include "core/analysis/gamecheck.h"
#include "core/analysis/scriptanalysis.h"

class QAction;
class QFrame;
class QListWidget;
class QMenu;
class QPushButton;
class TPrompts;

// The Syntax Checker window: lists the messages of the last check of an editor's script;
// a click on one shows its line in the target editor.
class TSC : public QDialog
{
    Q_OBJECT

  public:
    // prompts: where a failing settings store is reported.
    explicit TSC(TPrompts &prompts, QWidget *parent = nullptr);

    // Replaces the entries with the messages of errors, in their order, each holding its
    // error's line. The messages of warnings follow, marked "warning: " and drawn in
    // WarningColour.
    void ShowErrors(const TCOGErrors &errors, const TCOGErrors &warnings = TCOGErrors());
    // Checks text (CheckText) and lists what the check found.
    void ShowCheckOf(std::string_view text);
    // Checks a whole text with Checker, split into lines as SplitTextLines splits it, and
    // with GameChecker after it when its pass is on.
    void CheckText(std::string_view text);
    // Adds "Game-aware checks" and the choice of the checked game to menu, set from the
    // settings; a change is written back to them.
    void AddOptionItems(QMenu *menu);
    // The checks as chosen in the menu, for an analysis of a script.
    TAnalysisOptions AnalysisOptions() const;
    // The entry the user selected; -1 when none is.
    int SelectedIndex() const;
    // The script line of the selected entry; -1 when none is selected or it names no line.
    int SelectedLine() const;
    // The script the list belongs to was closed: the list says so in place of its entries.
    void ShowScriptClosed();
    static constexpr const char *ScriptClosedText = "The checked script has been closed.";

    void FormShow();
    void ErrorsClick();
    void BBRefreshClick();
    void BBCancelClick();

    QListWidget *Errors;
    QFrame *Panel1;
    QPushButton *BBRefresh;
    QPushButton *BBCancel;

    // The checker of the scripts: its errors are those of the last check.
    TCOGChecker Checker;
    // The game-aware pass: whether it follows a check that finds no error, and its findings.
    TGameChecker GameChecker;
    QAction *GameChecks1 = nullptr;
    QAction *EitherGame1 = nullptr;
    QAction *JediKnight1 = nullptr;
    QAction *Mots1 = nullptr;

    static constexpr int ItemHeight = 13;
    static inline const QColor WarningColour = QColor(168, 96, 0);

  signals:
    // Shown by the program (not restored by the window system): the frame remembers its
    // target editor.
    void Shown();
    // The user chose the entry of an error on line (0-based) of the checked script.
    void ErrorChosen(int line);
    // The user asked to clear the red marks of the target editor.
    void RefreshAsked();
    // "Game-aware checks" or the checked game changed.
    void CheckOptionsChanged();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The item data role holding an entry's script line.
    static constexpr int LineRole = Qt::UserRole;
    void showEvent(QShowEvent *event) override;

  private:
    void SaveGameCheckSettings();

    TPrompts &OwnPrompts;

    // The entry selected when the mouse was last pressed on the list: a click on it changed
    // no selection, so the click itself shows the line.
    int SelectedBeforePress = -1;
};
