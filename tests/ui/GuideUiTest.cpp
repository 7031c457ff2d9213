// The user guide against the program it describes: its links and pictures, the windows and
// menu items it names, F1 in each tool window and the help window's search. The guide marks
// each name of the program as <span class="ui">, with data-name="objectName" where its text is
// not the program's own, and each tool window's section heading with data-window="objectName".

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include "core/shell/helpindex.h"
#include "tests/ui/framefixture.h"
#include "ui/frame/helpwindow.h"
#include "ui/gamedata/resourcepicker.h"

namespace {

QString ReadText(const QString &path)
{
    return QString::fromUtf8(TFrameFixture::ReadFile(path));
}

// The names the program shows, as a user reads them: without "&" marks, blanks run together.
QString Shown(QString text)
{
    text.remove('&');
    return text.simplified();
}

// A name the guide marks; data-name gives the objectName it stands for.
struct TGuideName
{
    QString Page;
    QString Text;
    QString ObjectName;
};

QList<TGuideName> NamesIn(const QString &page, const QString &html)
{
    static const QRegularExpression span(
        "<span class=\"ui\"(?: data-name=\"([^\"]*)\")?>(.*?)</span>",
        QRegularExpression::DotMatchesEverythingOption);
    QList<TGuideName> names;
    for (const QRegularExpressionMatch &m : span.globalMatch(html))
        names << TGuideName{page,
                            Shown(QString::fromStdString(HtmlToText(m.captured(2).toStdString()))),
                            m.captured(1)};
    return names;
}

// The values of attribute in the tags of html ("href", "src").
QStringList Attributes(const QString &html, const QString &attribute)
{
    const QRegularExpression value(QString("\\s%1=\"([^\"]*)\"").arg(attribute));
    QStringList values;
    for (const QRegularExpressionMatch &m : value.globalMatch(html))
        values << m.captured(1);
    return values;
}

// The data-window attribute of the heading with id section of html; of the first heading when
// section is empty.
QString WindowOfSection(const QString &html, const QString &section)
{
    const QRegularExpression heading(
        section.isEmpty()
            ? QString("<h[1-6][^>]*>")
            : QString("<h[1-6][^>]*\\sid=\"%1\"[^>]*>").arg(QRegularExpression::escape(section)));
    const QRegularExpressionMatch m = heading.match(html);
    if (!m.hasMatch())
        return QString();
    static const QRegularExpression window("data-window=\"([^\"]*)\"");
    return window.match(m.captured(0)).captured(1);
}

} // namespace

class GuideUiTest : public QObject
{
    Q_OBJECT

    TFrameFixture F;

    QString HelpDir() const { return F.ProgramDir + "help/"; }

    QStringList Pages() const { return QDir(HelpDir()).entryList({"*.html"}, QDir::Files); }

    // Every text and objectName of the frame, its windows and menus, the help window included.
    QSet<QString> ProgramNames() const
    {
        QSet<QString> names;
        QList<QObject *> objects{F.Frame};
        objects << F.Frame->findChildren<QObject *>();
        for (QObject *object : objects)
        {
            names << object->objectName();
            if (auto *action = qobject_cast<QAction *>(object))
                names << Shown(action->text());
            if (auto *menu = qobject_cast<QMenu *>(object))
                names << Shown(menu->title());
            if (auto *button = qobject_cast<QAbstractButton *>(object))
                names << Shown(button->text());
            if (auto *label = qobject_cast<QLabel *>(object))
                names << Shown(label->text());
            if (auto *group = qobject_cast<QGroupBox *>(object))
                names << Shown(group->title());
            if (auto *widget = qobject_cast<QWidget *>(object); widget && widget->isWindow())
                names << Shown(widget->windowTitle());
            if (auto *tree = qobject_cast<QTreeWidget *>(object))
                for (QTreeWidgetItemIterator it(tree); *it; ++it)
                    names << Shown((*it)->text(0));
        }
        return names;
    }

    void PressF1In(QWidget *window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget *target = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(target, Qt::Key_F1);
    }

  private slots:
    void init() { F.Start(); }
    void cleanup() { F.Stop(); }

    void everyPageIsReachedFromTheContentsAndNoLinkIsDead()
    {
        QSet<QString> reached{"index.html"};
        QStringList toFollow{"index.html"};
        while (!toFollow.isEmpty())
        {
            const QString page = toFollow.takeFirst();
            const QString html = ReadText(HelpDir() + page);
            for (const QString &link : Attributes(html, "href"))
            {
                if (link.startsWith("http:") || link.startsWith("https:"))
                    continue;
                const qsizetype hash = link.indexOf('#');
                const QString target = hash < 0 ? link : link.left(hash);
                const QString file = target.isEmpty() ? page : target;
                QVERIFY2(QFileInfo(HelpDir() + file).isFile(),
                         qPrintable(page + ": dead link " + link));
                if (hash >= 0)
                    QVERIFY2(
                        ReadText(HelpDir() + file).contains(" id=\"" + link.mid(hash + 1) + "\""),
                        qPrintable(page + ": no section " + link));
                if (file.endsWith(".html") && !reached.contains(file))
                {
                    reached << file;
                    toFollow << file;
                }
            }
        }
        for (const QString &page : Pages())
            QVERIFY2(reached.contains(page), qPrintable(page + " is linked from no page"));
    }

    void everyPictureIsThere()
    {
        int pictures = 0;
        for (const QString &page : Pages())
            for (const QString &source : Attributes(ReadText(HelpDir() + page), "src"))
            {
                const QImage picture(HelpDir() + source);
                QVERIFY2(!picture.isNull(), qPrintable(page + ": no picture " + source));
                ++pictures;
            }
        QVERIFY(pictures > 0);
    }

    void everyWindowAndMenuItemTheGuideNamesIsInTheProgram()
    {
        // The editor's menus and bars exist while a script is open; the help's field once the
        // help was shown.
        F.OpenScript("symbols\r\nend\r\ncode\r\nend\r\n");
        F.Frame->Contents1Click();
        const QSet<QString> names = ProgramNames();
        int checked = 0;
        for (const QString &page : Pages())
            for (const TGuideName &name : NamesIn(page, ReadText(HelpDir() + page)))
            {
                const QString wanted = name.ObjectName.isEmpty() ? name.Text : name.ObjectName;
                QVERIFY2(names.contains(wanted),
                         qPrintable(name.Page + " names \"" + wanted + "\", which is not there"));
                ++checked;
            }
        QVERIFY(checked > 0);
    }

    void f1InEachToolWindowOpensItsSection()
    {
        for (const auto &[name, topic] : TMainForm::ToolWindowHelp())
        {
            auto *window = F.Frame->findChild<QWidget *>(name);
            QVERIFY2(window, qPrintable(name));
            PressF1In(window);
            THelpWindow *help = F.Frame->Help();
            QVERIFY2(help && help->isVisible(), qPrintable(name));
            const QUrl shown = help->Browser->source();
            const QString page = QFileInfo(shown.toLocalFile()).fileName();
            QCOMPARE(page + (shown.hasFragment() ? "#" + shown.fragment() : QString()), topic);
            // The section F1 opens is the one the guide heads with that window.
            QCOMPARE(WindowOfSection(ReadText(HelpDir() + page), shown.fragment()), name);
            window->hide();
            help->hide();
        }
        // Elsewhere F1 opens the contents.
        PressF1In(F.Frame);
        QTRY_VERIFY(F.Frame->Help()->isVisible());
        QCOMPARE(QFileInfo(F.Frame->Help()->Browser->source().toLocalFile()).fileName(),
                 QString("index.html"));
    }

    void theHelpOfAModalDialogTakesInputAndOutlivesIt()
    {
        TRes *picker = F.Frame->ResourcePicker();
        picker->setWindowModality(Qt::ApplicationModal);
        PressF1In(picker);
        THelpWindow *help = F.Frame->Help();
        QVERIFY(help && help->isVisible());
        // A window of the modal dialog is not blocked by it.
        QCOMPARE(help->parentWidget(), static_cast<QWidget *>(picker));
        picker->hide();
        picker->setWindowModality(Qt::NonModal);
        QVERIFY(help->isVisible());
        F.Frame->Contents1Click();
        QCOMPARE(help->parentWidget(), static_cast<QWidget *>(F.Frame));
        QVERIFY(help->isVisible());
    }

    void searchListsTheSectionsHoldingTheWordsAndOpensOne()
    {
        F.Frame->Contents1Click();
        THelpWindow *help = F.Frame->Help();
        QTest::keyClicks(help->HelpSearch, "Saber drowning");
        QVERIFY(help->HelpResults->count() > 0);
        for (int i = 0; i < help->HelpResults->count(); ++i)
        {
            help->HelpResultsClick(help->HelpResults->item(i));
            const QString text = help->Browser->toPlainText().toLower();
            QVERIFY(text.contains("saber") && text.contains("drowning"));
        }
        QListWidgetItem *first = help->HelpResults->item(0);
        QTest::mouseClick(help->HelpResults->viewport(), Qt::LeftButton, {},
                          help->HelpResults->visualItemRect(first).center());
        QCOMPARE(help->Browser->source(), first->data(THelpWindow::UrlRole).toUrl());

        help->HelpSearch->setText("saber nosuchwordanywhere");
        QCOMPARE(help->HelpResults->count(), 0);
        help->HelpSearch->clear();
        QCOMPARE(help->HelpResults->count(), 0);
    }
};

QTEST_MAIN(GuideUiTest)
#include "GuideUiTest.moc"
