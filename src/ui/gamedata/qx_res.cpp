#include "ui/gamedata/qx_res.h"

#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

TRes::TRes(QWidget *parent) : QDialog(parent)
{
    setObjectName("Res");
    setWindowTitle("Resource Picker");
    setAttribute(Qt::WA_QuitOnClose, false);
    OD1.Filter = OD1Filter;

    LB1 = new QListWidget(this);
    LB1->setObjectName("LB1");
    LB2 = new QListWidget(this);
    LB2->setObjectName("LB2");
    LB2->hide();
    ED = new QLineEdit(this);
    ED->setObjectName("ED");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LB1);
    layout->addWidget(ED);
}
