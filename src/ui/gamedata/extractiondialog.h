#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>

#include "core/gamedata/archive.h"

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
    // prompts: where its questions and failures go; programDir: the folder the scripts go to.
    TGG(TPrompts &prompts, const std::string &programDir, QWidget *parent = nullptr);

    // The item data role holding a member's whole 128-byte name field, NULs included: two
    // members are the same only when all 128 bytes are, while the items show the name up to
    // its first NUL.
    static constexpr int RawNameRole = Qt::UserRole;

    // Reads the archive at path and lists its scripts. A rejected archive keeps the lists
    // as they were; one that cannot be read empties them.
    void LoadGob(const QString &path);
    // Fills LB2 with every member of the directory and LB1 with the scripts among them.
    void ShowItems();
    // The archive listed: the last one read whole.
    const TGobArchive &ListedArchive() const { return Archive; }
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
    const std::string ProgramDir;

    void ClearItems();
    // The index in LB2 of the first member whose whole name field is rawName, or -1.
    int FindMember(const QByteArray &rawName) const;

    // The archive listed; Rejected after a file that was no archive, which extracts nothing.
    TGobArchive Archive;
    bool Rejected = false;
};
