#pragma once

// The program's pictures, drawn in code: the frame's background picture, the About box's
// picture, the window icon and the small button pictures.

#include <QIcon>
#include <QPixmap>
#include <QString>

// The 500 x 201 picture drawn centred behind the editor windows.
QPixmap ProgramPicture();
// The About box's 100 x 67 picture.
QPixmap AboutPicture();
// The program's icon, size x size pixels: the quill of the About box on a dark tile.
QPixmap ProgramIconPixmap(int size);
QIcon ProgramIcon();
// A button picture by name: "open", "save", "undo", "cut", "copy", "paste" (the speed bar),
// "tabs", "linebuilder", "check", "sort" (the editor's tool bar).
QIcon ButtonIcon(const QString &name);
