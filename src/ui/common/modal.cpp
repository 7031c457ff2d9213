#include "ui/common/modal.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace {
TModalHook &Hook()
{
    static TModalHook hook;
    return hook;
}
} // namespace

int ShowModal(QDialog *dialog)
{
    if (Hook())
        return Hook()(dialog);
    return dialog->exec();
}

void SetModalHook(TModalHook hook)
{
    Hook() = std::move(hook);
}

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect place = window->frameGeometry();
    place.moveCenter(screen->availableGeometry().center());
    window->move(place.topLeft());
}
