#include "ui/common/application.h"

#include <exception>
#include <new>

#include "ui/common/prompts.h"

TQxApplication::TQxApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TQxApplication::notify(QObject *receiver, QEvent *event)
{
    QString text;
    try
    {
        return QApplication::notify(receiver, event);
    }
    catch (const std::bad_alloc &)
    {
        text = "Out of memory";
    }
    catch (const std::exception &error)
    {
        text = QString::fromLocal8Bit(error.what());
    }
    catch (...)
    {
        text = "Unknown error";
    }
    // Shown after the handler's frames are gone, so the report runs on a sound stack.
    if (Reporter)
        Reporter->ShowIOError(text);
    else
        qCritical("%s", qPrintable(text));
    return false;
}
