#pragma once

#include <string>
#include <vector>

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>

#include "core/gamedata/archive.h"
#include "core/gamedata/templates.h"
#include "core/gamedata/textures.h"
#include "core/shell/folders.h"
#include "ui/common/prompts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The Resource Picker: lists the members of one type from a game archive (or the level
// editor's templates), previews the one clicked (a texture as a picture in a chosen colormap,
// anything else as text) and hands the chosen name back to its caller through ED.
class TRes : public QDialog
{
    Q_OBJECT

  public:
    // Reads the Jedi Knight archive and its colormaps while it is made, from the folders of
    // game, which outlive it and may change (ReadGameFolders then reads them again). Saved
    // pictures go to programDir. prompts: where its messages and file dialog go.
    TRes(TPrompts &prompts, const TGameFolders &game, const std::string &programDir,
         QWidget *parent = nullptr);

    // The picker's own open dialog, also used by the Directories dialog to locate the
    // project folder.
    TFileDialog OD1;
    static constexpr const char *OD1Filter =
        "Jedi Knight Files|*.ai;*.cog;*.pup;*.key;*.snd;*.3do;*.mat;*.per|All Files|*.*";

    void FormCreate();
    // Reads the archive of the game folders as they are set now (at start, and whenever the
    // user saves them or chooses the other game); says so when the chosen game's folder holds
    // no archive, and then lists nothing.
    void ReadGameFolders();
    void FormShow();
    void FormHide();
    // Reads the archive at path into the picker's member list; a rejected archive keeps the
    // lists as they were and stops the previews until an archive is accepted.
    void GetGobs(const std::string &path);
    void GetCmps();
    void StoreCmps();
    // Lists the members of extension ext (its dot included); clear empties the list first.
    void GetRes(const QString &ext, bool clear);
    void LB1Click();
    void PalBoxChange();
    void Cb1Change();
    void EDChange();
    void BmpsaveClick();
    // Lets the user pick a file of the project folder; ED gets its name, or nothing on Cancel.
    void UseDialog();
    void BBokClick();
    void BBCloseClick();

    // Shows the picker modally; the result code of the dialog (Accepted only through OK).
    int ShowPicker();
    // Template mode: LB1 holds the names of the template table (sorted), and a click shows the
    // template's line. The table is the one taken last, kept until another is taken.
    void ListTemplates();
    void TakeTemplates(TTPLRec table);
    // TakeTemplates, then ListTemplates.
    void ListTemplates(TTPLRec table);

    QComboBox *Cb1;
    QComboBox *PalBox;
    QToolButton *Bmpsave;
    QListWidget *LB1;
    QListWidget *LB2;
    QListWidget *FLB1;
    QLabel *Image;
    QLabel *Label1;
    QLabel *Label2;
    QPlainTextEdit *Memo;
    // The chosen resource; empty when nothing was chosen.
    QLineEdit *ED;
    QPushButton *BBok;
    QPushButton *BBClose;

    // Set: LB1 lists archive members; clear: it lists template names.
    bool MemberMode = false;
    // The archive the picker reads.
    std::string PickerArchive;
    // The last request of GetRes, repeated when another archive is read.
    QString LastResType;
    bool LastResClear = false;
    // Directory indices of the colormap members, in the order of PalBox; item i is slot i.
    std::vector<int> CmpIndex;
    // The colormaps of PalBox, item i in slot i, and the slot of the texture previews.
    std::vector<TColormap> Colormaps;
    int CurrentColormap = 0;
    bool CmpsLoaded = false;

  public slots:
    // Any way of closing other than OK (Escape, the title bar) is a Cancel and empties ED.
    void reject() override;

  protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

  private:
    TPrompts &Ask() const { return OwnPrompts; }
    void FillArchiveChoice(const std::string &folder, const QString &shown);
    enum class TArchiveRead
    {
        Read,
        NotAnArchive,
        Failed
    };
    // Reads the header and directory of the archive at path into Archive. When it is no
    // archive or cannot be read, says so and stops the previews until an archive is accepted.
    TArchiveRead ReadArchive(const std::string &path);
    void TakeDirectory();
    void ForgetDirectory();
    void PreviewMember(const std::string &memberName);
    void ShowTexture(int index, const std::string &memberName);
    void ShowText(int index);
    void ClearPicture();
    bool WriteBmp(const std::string &fileName, QString &error) const;
    void SetListItems(QStringList names);

    TPrompts &OwnPrompts;
    const TGameFolders &Game;
    const std::string ProgramDir;
    // The archive read last, and its member names as listed (LB2).
    TGobArchive Archive;
    std::vector<std::string> MemberNames;
    // The templates listed in template mode.
    TTPLRec Templates;
    // No archive accepted yet, or the last one read was refused.
    bool ArchiveRejected = true;
    // The BMP bytes of the picture in Image and the file name of its texture.
    QByteArray ShownBmp;
    QString ShownMat;
    // A failed write of the preview's BMP has been reported; quiet until one succeeds.
    bool BmpWriteReported = false;
};
