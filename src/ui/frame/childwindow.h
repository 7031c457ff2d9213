#pragma once

#include <QList>
#include <QMdiSubWindow>

class QAction;
class QMenu;

// The base child window of the frame: it carries the child File menu, which takes the place
// of the frame's own File menu while the window is active.
class TMDIChild : public QMdiSubWindow
{
    Q_OBJECT

  public:
    explicit TMDIChild(QWidget *parent = nullptr);

    // The menus that stand in the frame's menu bar, before Options, while this window is
    // active; the File menu first.
    virtual QList<QMenu *> MergedMenus() const;

    // True from the moment the window has agreed to close until it is gone.
    bool IsClosing() const { return Closing; }

    QMenu *File1;
    QAction *New1;
    QAction *Open1;
    QAction *Close1;
    QAction *Save1;
    QAction *SaveAs1;
    QAction *Print1;
    QAction *PrintSetup1;
    QAction *Exit1;

  signals:
    // The child File menu's New, Open and Exit: commands of the frame.
    void NewAsked();
    void OpenAsked();
    void ExitAsked();
    // The window has agreed to close and is about to go; then it has gone from the client
    // area's list.
    void AboutToClose(QMdiSubWindow *window);
    void Closed(QMdiSubWindow *window);

  protected:
    void New1Click();
    void Open1Click();
    void Close1Click();
    void Exit1Click();
    virtual void Save1Click() {}
    virtual void SaveAs1Click() {}
    virtual void Print1Click() {}
    virtual void PrintSetup1Click() {}

    // Closes the window for good (the caller has asked whatever it had to ask): hides the
    // frame's edit buttons and brings back the child focused before this one.
    void CloseChild(QCloseEvent *event);

  private:
    bool Closing = false;
};
