#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>

class QListWidget;
class QProgressBar;
class QPushButton;
class TPrompts;

// The extraction dialog: lists the COG scripts of an archive opened from the frame and
// copies the selected ones out under the program's folder.
class TGG : public QDialog
{
    Q_OBJECT

  public:
    // prompts: where its questions and failures go.
    explicit TGG(TPrompts &prompts, QWidget *parent = nullptr);

    // The item data role holding a member's whole 128-byte name field, NULs included: two
    // members are the same only when all 128 bytes are, while the items show the name up to
    // its first NUL.
    static constexpr int RawNameRole = Qt::UserRole;

    // Reads the archive at path and lists its scripts. A rejected archive keeps the lists
    // as they were; one that cannot be read empties them.
    void LoadGob(const QString &path);
    // Fills LB2 with every member of the directory and LB1 with the scripts among them.
    void ShowItems();
    void BBExtractClick();
    void BBCancelClick();

    QListWidget *LB1;
    QListWidget *LB2;
    QProgressBar *PB;
    QPushButton *BBExtract;
    QPushButton *BBCancel;

  signals:
    // An extraction ended; files are the paths written.
    void ScriptsExtracted(const QStringList &files);

  private:
    TPrompts &OwnPrompts;

    void ClearItems();
    // The index in LB2 of the first member whose whole name field is rawName, or -1.
    int FindMember(const QByteArray &rawName) const;
    enum class TExtractResult
    {
        Done,
        // The failure has been reported; the run stops.
        Failed,
        // The user cancelled the question about an existing file; the run stops.
        Cancelled
    };
    // Copies member index out to its own relative path under the program's folder, its
    // folders matched whatever their letter case. A file there with the same bytes is left
    // as it is; one that differs is replaced only when the user agrees (or agreed to all, in
    // replaceAll).
    TExtractResult ExtractMember(const QByteArray &rawName, int index, bool &replaceAll);

    QStringList ExtractedFiles;
};
