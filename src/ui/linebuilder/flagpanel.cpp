// The Line Builder's flag calculator: the check list and "Flags" button under the tree. The
// labels, the mode and the value come from TFlagCalc; the window shows them and the ticks.

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/common/prompts.h"
#include "ui/linebuilder/linebuilderwindow.h"

void TVF::CreateFlagPanel(QWidget *pane, QVBoxLayout *layout)
{
    FlagOK = new QPushButton("Flags", pane);
    FlagOK->setObjectName("FlagOK");
    FlagOK->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    FlagOK->setFixedHeight(27);
    layout->addWidget(FlagOK);
    connect(FlagOK, &QPushButton::clicked, this, &TVF::FlagOKClick);

    CLB = new QListWidget(pane);
    CLB->setObjectName("CLB");
    CLB->setFixedHeight(267);
    QPalette palette = CLB->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    CLB->setPalette(palette);
    for (const std::string &label : FlagCalc.Labels)
    {
        auto *item = new QListWidgetItem(QString::fromStdString(label), CLB);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    layout->addWidget(CLB);

    HideFlagCalculator();
}

bool TVF::SortFlag(const QString &flagLine)
{
    if (!FlagCalc.Open(flagLine.toStdString()))
        return false;
    for (int i = 0; i < FlagBitCount; ++i)
        CLB->item(i)->setText(QString::fromStdString(FlagCalc.Labels[i]));
    CLB->show();
    FlagOK->show();
    FlagOK->setEnabled(true);
    // A line that names no kind has no title; the strip keeps what it showed.
    if (!FlagCalc.Title.empty())
        P1Caption->setText(QString::fromStdString(FlagCalc.Title));
    return true;
}

void TVF::FlagOKClick()
{
    for (int i = 0; i < FlagBitCount; ++i)
        FlagCalc.Ticks[i] = CLB->item(i)->checkState() == Qt::Checked;
    const TFlagOutcome outcome = FlagCalc.FlagOKClick();
    // Reading the ticks clears them, a refused single choice included.
    for (int i = 0; i < FlagBitCount; ++i)
        CLB->item(i)->setCheckState(FlagCalc.Ticks[i] ? Qt::Checked : Qt::Unchecked);
    if (outcome != TFlagOutcome::Written)
    {
        Ask().ShowMessage(FlagOutcomeMessage(outcome));
        return;
    }
    ReplaceSelection(QString::fromStdString(FlagCalc.FlagLine));
    HideFlagCalculator();
}

void TVF::HideFlagCalculator()
{
    FlagCalc.IsOpen = false;
    FlagOK->hide();
    FlagOK->setEnabled(false);
    CLB->hide();
}
