#pragma once

#include <QApplication>

// The program's application object: an exception that escapes an event handler (memory
// running out on a huge file, a fault of the program) ends the operation that raised it
// instead of the program. It is reported through the prompts as a failure the program did
// not handle itself, and every window and open text stays as it was.
class TPrompts;

class TQxApplication : public QApplication
{
    Q_OBJECT

  public:
    TQxApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
    // Where the failures go; without prompts they go to the error output only.
    void SetPrompts(TPrompts *prompts) { Reporter = prompts; }

  private:
    TPrompts *Reporter = nullptr;
};
