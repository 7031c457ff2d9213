#pragma once

#include <string>
#include <vector>

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class TMainForm;
class TRTFForm;
class TSettingsKey;

// The frame's additions for everyday work: the recent files in the File menus, the Options
// items that turn syntax colours and the check as you type on and off (all kept in the settings),
// files dropped from a file manager (on the frame or on an editor's text), and the status line that
// reports an extraction.
class TFrameExtras : public QObject
{
    Q_OBJECT

  public:
    explicit TFrameExtras(TMainForm *frame);

    // Sets up a new editor window: its colours as chosen, the recent files in its File menu,
    // and its file names going into the list.
    void EditorCreated(TRTFForm *editor);

    // Opens path as File > Open does: a script in an editor, an archive in the extraction
    // dialog; other files are left alone.
    void OpenAsFileOpen(const QString &path);

    // The recent files, most recent first.
    QStringList RecentFiles() const;
    void AddRecentFile(const QString &path);
    // Opens a listed file; one that is gone is taken off the list with a message.
    void OpenRecentFile(const QString &path);

    void Highlight1Click();
    void CheckAsYouType1Click();

    QMenu *RecentFiles1;
    QAction *Highlight1;
    QAction *CheckAsYouType1;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void FillRecentMenu();
    void StoreRecentFiles();
    // Writes an Options switch to the settings with write.
    void StoreSwitch(void (*write)(TSettingsKey &key, bool on), bool on);
    void ReportExtraction(const QStringList &files);

    TMainForm *Frame;
    std::vector<std::string> Recent;
    bool Highlighting = true;
    bool CheckingAsYouType = true;
};
