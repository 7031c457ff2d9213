#include "ui/frame/aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "ui/common/fonts.h"
#include "ui/common/modal.h"
#include "ui/common/pictures.h"

namespace {
QLabel *AddLabel(QWidget *parent, const char *name, const QString &text, const QRect &place,
                 const QColor &colour, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

QFont ProductFont()
{
    // "Serpentine" is a display face few machines have; a bold italic sans-serif of the
    // same weight stands in for it.
    QFont font("Serpentine");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(29);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

} // namespace

TAboutBox::TAboutBox(const QString &appVersion, QWidget *parent) : QDialog(parent)
{
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(367, 183);
    setAttribute(Qt::WA_QuitOnClose, false);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setGeometry(12, 12, 137, 97);
    ProgramIcon->setPixmap(AboutPicture());
    ProgramIcon->setScaledContents(true);

    const QColor aqua(0, 255, 255);
    const QColor light(200, 220, 220);
    ProductName =
        AddLabel(this, "ProductName", "Quillex", QRect(164, 14, 190, 38), aqua, ProductFont());
    Version = AddLabel(this, "Version", "Version", QRect(166, 56, 190, 16), light, SansFont(12));
    Copyright = AddLabel(this, "Copyright", "Written by the Quillex developers",
                         QRect(166, 76, 190, 16), light, SansFont(11));
    Comments =
        AddLabel(this, "Comments", "A COG script editor for Jedi Knight and Mysteries of the Sith",
                 QRect(12, 118, 343, 30), QColor(0, 200, 200), SansFont(11));
    Comments->setWordWrap(true);
    // The version line is completed once, from the version the settings hold at start.
    Version->setText(Version->text() + " " + appVersion);

    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(146, 150, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // In the middle of the screen, not over the frame.
    if (!event->spontaneous())
        CentreOnScreen(this);
}
