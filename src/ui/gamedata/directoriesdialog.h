#pragma once

#include <string>

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TPrompts;
struct TGameFolders;
struct TFileDialog;

// The Directories dialog: where the user tells the program where the game's archives, the
// level editor's template file and the user's own resources are, and stores them.
class TDir : public QDialog
{
    Q_OBJECT

  public:
    // prompts: where its questions go. openDialog: the open dialog shared with the frame,
    // for the game's folders and the template; folderDialog: the one shared with the
    // Resource Picker, for the user's own folder. Both outlive the dialog.
    // game: the folders it shows and edits, which outlive it.
    TDir(TPrompts &prompts, TGameFolders &game, TFileDialog &openDialog, TFileDialog &folderDialog,
         QWidget *parent = nullptr);

    void FormShow();
    void SBJKClick();
    void SBMotsClick();
    void SBTPLClick();
    void SBProjClick();
    void RG1Click();
    void BBokClick();
    void BBCancelClick();

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLineEdit *E1;
    QLineEdit *E2;
    QLineEdit *E3;
    QLineEdit *E4;
    QToolButton *SBJK;
    QToolButton *SBMots;
    QToolButton *SBTPL;
    QToolButton *SBProj;
    QGroupBox *RG1;
    QRadioButton *UseJK1;
    QRadioButton *UseMots1;
    QPushButton *BBok;
    QPushButton *BBCancel;

    // The selected item of RG1: 0 "Use JK ", 1 "Use Mots".
    int RG1Index() const;

  signals:
    // The folders were saved, or the other game's resources chosen: whoever reads the game's
    // archives reads them again.
    void FoldersChanged();

  protected:
    void showEvent(QShowEvent *event) override;

  private:
    void ShowSettings();
    enum class TKeep
    {
        Folder,
        WholePath
    };
    // Runs dialog with the given suggestion (name, title and filter item stay on the shared
    // dialog afterwards); a pick goes into setting, its folder or its whole path, and shown
    // shows the setting.
    void Locate(TFileDialog &dialog, const QString &fileName, const QString &title, int filterIndex,
                std::string &setting, TKeep keep, QLineEdit *shown);

    TPrompts &OwnPrompts;
    TGameFolders &Game;
    TFileDialog &OpenDialog;
    TFileDialog &FolderDialog;
};
