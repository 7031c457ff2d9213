#include "ui/shell/modal.h"

#include <QDialog>

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
