#pragma once

// Our own dialogs are shown modally through ShowModal, never by calling exec() directly, so
// that a test can install a hook that records the dialog and returns at once instead of
// waiting for a user.

#include <functional>

class QDialog;
class QWidget;

using TModalHook = std::function<int(QDialog *)>;

// Shows dialog modally (QDialog::exec) or hands it to the installed hook; returns the
// dialog's result code.
int ShowModal(QDialog *dialog);
// Installs hook (an empty function restores exec()).
void SetModalHook(TModalHook hook);

// Places window in the middle of the primary screen's free area, wherever its owner stands.
void CentreOnScreen(QWidget *window);
