#include <functional>
#include <memory>
#include <string>

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "core/gamedata/archive.h"
#include "core/gamedata/templates.h"
#include "core/gamedata/textures.h"
#include "core/shell/folders.h"
#include "tests/core/gobbuilder.h"
#include "tests/ui/framefixture.h"
#include "tests/ui/scriptedprompts.h"
#include "tests/ui/widgetprobes.h"
#include "ui/common/modal.h"
#include "ui/gamedata/directoriesdialog.h"
#include "ui/gamedata/resourcepicker.h"

namespace {
const QString JkInvalid = " JK Directory Invalid  Reset in Options";
const QString MotsInvalid = " Mots Directory Invalid ,Reset in Options";

std::string Le32(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
}

// The palette index of pixel (x, y) of the test textures.
int IndexAt(int x, int y)
{
    return (1 + x + 40 * y) % 256;
}

// A texture material with one record; a 16-bit texture stores two bytes a pixel, of which the
// 8-bit reader takes the first width bytes of each row.
std::string TextureMat(int width, int height, int bitsPerPixel = 8)
{
    std::string mat = "MAT " + Le32(0x32) + Le32(2) + Le32(1) + Le32(1) + Le32(0) +
                      Le32(bitsPerPixel == 16 ? 1 : 0) + Le32(bitsPerPixel);
    mat.resize(76, '\0');
    mat += std::string(40, '\0') + Le32(width) + Le32(height) + std::string(16, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mat += std::string(static_cast<size_t>(bitsPerPixel / 8),
                               static_cast<char>(IndexAt(x, y)));
    return mat;
}

// A colormap giving index i the colour channel(i).
std::string Colormap(const std::function<QColor(int)> &colour)
{
    std::string cmp = "CMP " + std::string(60, '\0');
    for (int i = 0; i < 256; ++i)
    {
        const QColor c = colour(i);
        cmp +=
            {static_cast<char>(c.red()), static_cast<char>(c.green()), static_cast<char>(c.blue())};
    }
    return cmp + std::string(64, '\x7f');
}

const std::string DoorScript = "# door.cog\r\nsymbols\r\nthing door\r\nend\r\n";

std::string GameArchive()
{
    return TGobBuilder()
        .Add("misc\\cmp\\dflt.cmp", Colormap([](int i) { return QColor(i, 0, 0); }))
        .Add("cog\\lift.cog", "# lift")
        .Add("cog\\door.cog", DoorScript + std::string("\0after the NUL", 14))
        .Add("cog\\LOUD.COG", "# loud")
        .Add("mat\\wall.mat", TextureMat(30, 5))
        .Add("3do\\mat\\odd.mat  ", TextureMat(33, 3))
        .Add("mat\\hi16.mat", TextureMat(6, 2, 16))
        .Add("mat\\bad.mat", "not a texture")
        .Add("misc\\cmp\\sky.cmp", Colormap([](int i) { return QColor(0, 0, i); }))
        .Build();
}

void Click(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.first()).center());
}

// Types text into an editable combo box and confirms it with Enter.
void Choose(QComboBox *box, const QString &text)
{
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
}

QColor PixelOf(const QLabel *image, int x, int y)
{
    return image->pixmap().toImage().pixelColor(x, y);
}
} // namespace

class ResUiTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Temp;
    TScriptedPrompts Ask;
    TGameFolders Game;
    std::string ProgramDir;
    TRes *Res = nullptr;

    QString Folder(const QString &name) const
    {
        QDir().mkpath(Temp->filePath(name));
        return Temp->filePath(name) + "/";
    }

    void Write(const QString &path, const std::string &bytes)
    {
        WriteBytes(path.toStdString(), bytes);
    }

    // Makes the picker as the program does at start; the messages of its creation are queued
    // by the caller.
    void Create()
    {
        delete Res;
        Res = new TRes(Ask, Game, ProgramDir);
    }

    // A picker on the standard archive, shown as the Line Builder shows it.
    void CreateShown()
    {
        Write(Folder("jk") + "res2.gob", GameArchive());
        Write(Folder("mots") + "jkmres.goo", TGobBuilder().Add("cog\\m.cog", "m").Build());
        Create();
        Res->show();
        QVERIFY(QTest::qWaitForWindowExposed(Res));
    }

  private slots:
    void init()
    {
        Temp = std::make_unique<QTemporaryDir>();
        ProgramDir = Folder("program").toStdString();
        Game = TGameFolders();
        Game.JKDir = Folder("jk").toStdString();
        Game.MotsDir = Folder("mots").toStdString();
        Game.ProjectDir = Folder("project").toStdString();
        Game.UseJK = false;
        Ask.Reset();
    }

    void cleanup()
    {
        delete Res;
        Res = nullptr;
        SetModalHook({});
        Ask.Verify();
        Temp.reset();
    }

    void startReadsTheChosenGamesArchiveAndOffersTheFoldersArchives_data()
    {
        QTest::addColumn<QString>("jkName");
        QTest::addColumn<QString>("motsName");
        QTest::addColumn<bool>("useJk");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("archives");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("members");
        QTest::newRow("both, MOTS chosen")
            << "res2.gob"
            << "jkmres.goo" << false << QStringList() << QStringList{"extra.GOB", "jkmres.goo"}
            << "jkmres.goo" << 9;
        QTest::newRow("both, JK chosen") << "RES2.GOB"
                                         << "jkmres.goo" << true << QStringList()
                                         << QStringList{"more.goo", "RES2.GOB"} << "res2.gob" << 9;
        // Only the chosen game's folder must hold its archive.
        QTest::newRow("no JK archive, MOTS chosen")
            << "other.gob"
            << "jkmres.goo" << false << QStringList() << QStringList{"extra.GOB", "jkmres.goo"}
            << "jkmres.goo" << 1;
        QTest::newRow("no JK archive, JK chosen")
            << "other.gob"
            << "jkmres.goo" << true << QStringList{JkInvalid} << QStringList() << "" << 0;
        QTest::newRow("no MOTS archive, MOTS chosen")
            << "res2.gob"
            << "mots.gob" << false << QStringList{MotsInvalid} << QStringList() << "" << 0;
        QTest::newRow("no MOTS archive, JK chosen")
            << "res2.gob"
            << "mots.gob" << true << QStringList() << QStringList{"more.goo", "res2.gob"}
            << "res2.gob" << 9;
    }

    void startReadsTheChosenGamesArchiveAndOffersTheFoldersArchives()
    {
        QFETCH(QString, jkName);
        QFETCH(QString, motsName);
        QFETCH(bool, useJk);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, archives);
        QFETCH(QString, shown);
        QFETCH(int, members);
        Write(Folder("jk") + jkName, GameArchive());
        Write(Folder("jk") + "more.goo", TGobBuilder().Build());
        Write(Folder("mots") + motsName, TGobBuilder().Add("cog\\m.cog", "m").Build());
        Write(Folder("mots") + "extra.GOB", TGobBuilder().Build());
        Write(Folder("mots") + "notes.txt", "x");
        Game.UseJK = useJk;
        for (const QString &message : messages)
            Ask.ExpectMessage(message);
        Create();

        QCOMPARE(Res->windowTitle(), QString("Resource Picker"));
        QCOMPARE(Res->MemberMode, messages.isEmpty());
        QStringList items;
        for (int i = 0; i < Res->Cb1->count(); ++i)
            items << Res->Cb1->itemText(i);
        QCOMPARE(items, archives);
        QCOMPARE(Res->Cb1->currentText(), shown);
        QCOMPARE(Res->LB2->count(), members);
        QCOMPARE(Res->PalBox->count(), members == 9 ? 2 : 0);
        if (members == 9)
        {
            QCOMPARE(Res->LB2->item(5)->text(), QString("3do\\mat\\odd.mat"));
            QCOMPARE(Res->CmpIndex, (std::vector<int>{0, 8}));
        }
        QVERIFY(!Res->Bmpsave->isEnabled());
    }

    void scriptsAreListedBareAndAClickShowsTheirText()
    {
        CreateShown();
        Res->GetRes(".cog", true);
        QCOMPARE(Texts(Res->LB1), QStringList({"door.cog", "lift.cog"}));
        Click(Res->LB1, "door.cog");
        QCOMPARE(Res->Memo->toPlainText(),
                 QString::fromStdString(DoorScript).replace("\r\n", "\n"));
        QCOMPARE(Res->ED->text(), QString("door.cog"));
        QVERIFY(!Res->Bmpsave->isEnabled());

        // Capitals are listed when asked for in capitals.
        Res->GetRes(".COG", true);
        QCOMPARE(Texts(Res->LB1), QStringList({"LOUD.COG"}));
    }

    void texturesAreListedWithTheirFolderAndAClickShowsAndWritesThePicture()
    {
        CreateShown();
        Res->GetRes(".mat", true);
        QCOMPARE(Texts(Res->LB1), QStringList({"3do\\mat\\odd.mat", "mat\\bad.mat", "mat\\hi16.mat",
                                               "mat\\wall.mat"}));
        Click(Res->LB1, "mat\\wall.mat");
        QCOMPARE(Res->ED->text(), QString("wall.mat"));
        QVERIFY(Res->Bmpsave->isEnabled());
        QCOMPARE(Res->Image->pixmap().size(), QSize(30, 5));
        QCOMPARE(Res->Label2->text(), QString("Size in pixels =  30 Wide x   5 High"));
        QCOMPARE(Res->Label1->text(), QString("Size in Kovo Grid = 0.09 Wide x 0.02 High"));
        // dflt.cmp is chosen on show: index i is red i. The first texture row is on top.
        QCOMPARE(PixelOf(Res->Image, 0, 0), QColor(IndexAt(0, 0), 0, 0));
        QCOMPARE(PixelOf(Res->Image, 29, 4), QColor(IndexAt(29, 4), 0, 0));
        const QString bmp = QString::fromStdString(ProgramDir) + "wall.bmp";
        const std::string written = ReadBytes(bmp.toStdString());
        QCOMPARE(written.size(), size_t(1078 + 32 * 5));
        QCOMPARE(QImage(bmp).pixelColor(29, 4), QColor(IndexAt(29, 4), 0, 0));

        // Another colormap renders the same texture again, and writes it again.
        Choose(Res->PalBox, "sky.cmp");
        QCOMPARE(Res->CurrentColormap, 1);
        QCOMPARE(PixelOf(Res->Image, 29, 4), QColor(0, 0, IndexAt(29, 4)));
        QCOMPARE(QImage(bmp).pixelColor(29, 4), QColor(0, 0, IndexAt(29, 4)));

        // An odd width, its stored name carrying trailing blanks.
        Click(Res->LB1, "3do\\mat\\odd.mat");
        QCOMPARE(Res->Image->pixmap().size(), QSize(33, 3));
        QCOMPARE(PixelOf(Res->Image, 32, 0), QColor(0, 0, IndexAt(32, 0)));
        QVERIFY(QFile::exists(QString::fromStdString(ProgramDir) + "odd.bmp"));

        // "Save Mat to Bmp" writes the picture on display under the name in ED.
        QFile::remove(QString::fromStdString(ProgramDir) + "odd.bmp");
        Res->Bmpsave->click();
        QCOMPARE(QImage(QString::fromStdString(ProgramDir) + "odd.bmp").size(), QSize(33, 3));
    }

    void sixteenBitTexturesShowWhatTheEightBitReaderSees()
    {
        CreateShown();
        Res->GetRes(".mat", true);
        Click(Res->LB1, "mat\\hi16.mat");
        QCOMPARE(Res->Image->pixmap().size(), QSize(6, 2));
        QCOMPARE(Res->Label2->text(), QString("Size in pixels =   6 Wide x   2 High"));
        // Two bytes a pixel: the first row holds the doubled indices of the first three pixels.
        QCOMPARE(PixelOf(Res->Image, 1, 0), QColor(IndexAt(0, 0), 0, 0));
        QCOMPARE(PixelOf(Res->Image, 2, 0), QColor(IndexAt(1, 0), 0, 0));
        QVERIFY(Res->Bmpsave->isEnabled());
    }

    void aTextureThatCannotBeShownClearsThePicture()
    {
        CreateShown();
        Res->GetRes(".mat", true);
        Click(Res->LB1, "mat\\wall.mat");
        QVERIFY(!Res->Image->pixmap().isNull());

        Ask.ExpectIOError("Not a Mat File");
        Click(Res->LB1, "mat\\bad.mat");
        QVERIFY(Res->Image->pixmap().isNull());
        QCOMPARE(Res->Label1->text(), QString());
        QCOMPARE(Res->ED->text(), QString("bad.mat"));
        QVERIFY(!Res->Bmpsave->isEnabled());

        // A rejected archive: the list stays, nothing is previewed from it.
        Click(Res->LB1, "mat\\wall.mat");
        Write(Folder("jk") + "junk.gob", "GOB!");
        Ask.ExpectAbortError(NotAGobMessage);
        Choose(Res->Cb1, "junk.gob");
        QCOMPARE(Res->LB1->count(), 4);
        Click(Res->LB1, "3do\\mat\\odd.mat");
        QVERIFY(Res->Image->pixmap().isNull());
        QVERIFY(!Res->Bmpsave->isEnabled());
    }

    void aPreviewReadsThePickersArchiveWhateverWasReadSince()
    {
        CreateShown();
        Res->GetRes(".cog", true);
        // Another archive read meanwhile, as the extraction dialog reads one.
        const QString other = Temp->filePath("other.gob");
        Write(other, TGobBuilder().Add("cog\\x.cog", "x").Add("cog\\door.cog", "wrong").Build());
        QVERIFY(ReadGobArchive(other.toStdString()));
        Click(Res->LB1, "door.cog");
        QVERIFY(Res->Memo->toPlainText().startsWith("# door.cog"));
        Click(Res->LB1, "lift.cog");
        QCOMPARE(Res->Memo->toPlainText(), QString("# lift"));
    }

    void aProgramFolderThatCannotBeWrittenIsReportedOnce()
    {
        // A file where the folder should be: no write can succeed there.
        const QString blocked = Temp->filePath("blocked");
        Write(blocked, "x");
        ProgramDir = (blocked + "/").toStdString();
        CreateShown();
        Res->GetRes(".mat", true);
        Ask.ExpectIOError();
        Click(Res->LB1, "mat\\wall.mat");
        Click(Res->LB1, "3do\\mat\\odd.mat");
        Click(Res->LB1, "mat\\wall.mat");
        QCOMPARE(Res->Image->pixmap().size(), QSize(30, 5));
        QVERIFY(Res->Bmpsave->isEnabled());
        QCOMPARE(Ask.Texts("IOError").size(), 1);
        QVERIFY(Ask.Texts("IOError").first().contains("wall.bmp"));
    }

    void onlyOkReturnsTheChoice_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("OK") << "ok" << int(QDialog::Accepted) << "lift.cog";
        QTest::newRow("Cancel") << "cancel" << int(QDialog::Rejected) << "";
        QTest::newRow("Escape") << "escape" << int(QDialog::Rejected) << "";
        QTest::newRow("title bar") << "close" << int(QDialog::Rejected) << "";
    }

    void onlyOkReturnsTheChoice()
    {
        QFETCH(QString, way);
        QFETCH(int, result);
        QFETCH(QString, chosen);
        CreateShown();
        Res->hide();
        SetModalHook([&](QDialog *dialog) {
            dialog->show();
            Click(Res->LB1, "lift.cog");
            if (way == "ok")
                Res->BBok->click();
            else if (way == "cancel")
                Res->BBClose->click();
            else if (way == "escape")
                QTest::keyClick(Res, Qt::Key_Escape);
            else
                Res->close();
            return dialog->isVisible() ? -1 : dialog->result();
        });
        Res->GetRes(".cog", true);
        QCOMPARE(Res->ShowPicker(), result);
        QCOMPARE(Res->ED->text(), chosen);
        // Hiding empties the text preview.
        QCOMPARE(Res->Memo->toPlainText(), QString());
        // The next request starts without a choice.
        Res->GetRes(".mat", true);
        QCOMPARE(Res->ED->text(), QString());
    }

    void templateModeShowsTheTemplatesLineUntilTheNextRequest()
    {
        CreateShown();
        TTPLRec table;
        LoadTemplateText("crate none mass=10\r\n_walk\tnone type=player\r\nBox\r\n", table);
        Res->ListTemplates(table);
        QVERIFY(!Res->MemberMode);
        QCOMPARE(Texts(Res->LB1), QStringList({"_walk", "Box", "crate"}));
        Click(Res->LB1, "_walk");
        QCOMPARE(Res->Memo->toPlainText(), QString("_walk none type=player"));
        QCOMPARE(Res->ED->text(), QString("_walk"));

        Res->GetRes(".cog", true);
        QVERIFY(Res->MemberMode);
        Click(Res->LB1, "lift.cog");
        QCOMPARE(Res->Memo->toPlainText(), QString("# lift"));
    }

    // A picture stays only while its texture is the one selected: not with nothing selected,
    // and not under a list of templates.
    void aPictureGoesWithTheSelectionOfItsTexture()
    {
        CreateShown();
        Res->GetRes(".mat", true);
        Click(Res->LB1, "mat\\wall.mat");
        QVERIFY(!Res->Image->pixmap().isNull());
        Res->LB1->clearSelection();
        QVERIFY(Res->Image->pixmap().isNull());
        QVERIFY(Res->Label1->text().isEmpty() && Res->Label2->text().isEmpty());

        Click(Res->LB1, "mat\\wall.mat");
        QVERIFY(!Res->Image->pixmap().isNull());
        Res->ListTemplates(TTPLRec());
        QVERIFY(Res->Image->pixmap().isNull());
        QVERIFY(Res->Label1->text().isEmpty());
    }

    void theProjectFolderDialogGivesABareNameOrNothing()
    {
        CreateShown();
        Ask.ExpectOpenFile("/somewhere/else/wall.mat");
        Res->UseDialog();
        QCOMPARE(Res->ED->text(), QString("wall.mat"));
        QCOMPARE(Ask.Calls.last().Dialog.Title, QString("Using Project Directory"));
        QCOMPARE(Ask.Calls.last().Dialog.InitialDir, QString::fromStdString(Game.ProjectDir));
        Ask.ExpectOpenFile(QString());
        Res->UseDialog();
        QCOMPARE(Res->ED->text(), QString());
    }

    void anotherArchiveIsListedForTheSameRequest()
    {
        CreateShown();
        Res->GetRes(".cog", true);
        Ask.ExpectMessage("not implemented yet");
        Choose(Res->Cb1, "Project dir");

        // In both folders: the MOTS one is read last and stays.
        const std::string both = TGobBuilder().Add("cog\\jk.cog", "j").Build();
        Write(Folder("jk") + "both.gob", both);
        Write(Folder("mots") + "both.gob", TGobBuilder().Add("cog\\mots.cog", "m").Build());
        Choose(Res->Cb1, "both.gob");
        QCOMPARE(QString::fromStdString(Res->PickerArchive), Folder("mots") + "both.gob");
        QCOMPARE(Texts(Res->LB1), QStringList({"mots.cog"}));
        // The colormaps stay those of the first archive.
        QCOMPARE(Res->PalBox->count(), 2);
    }

    // The folders saved in the Directories dialog, or the other game chosen there, are read at
    // once: no restart.
    void theFoldersTakeEffectWhenSavedOrChosen()
    {
        TFrameFixture frame;
        // Expected like any other question: a second one would be unexpected.
        frame.AcceptStartupMessages = false;
        frame.Prompts.ExpectMessage(JkInvalid);
        frame.Start();
        TRes *picker = frame.Frame->ResourcePicker();
        TDir *dir = frame.Frame->Directories();
        picker->GetRes(".cog", true);
        QVERIFY(Texts(picker->LB1).isEmpty());

        Write(Folder("jk") + "res2.gob", GameArchive());
        dir->show();
        frame.Prompts.ExpectOpenFile(Folder("jk") + "res2.gob");
        QVERIFY(frame.Frame->GameFolders().UseJK);
        dir->SBJK->click();
        dir->BBok->click();
        QCOMPARE(Texts(picker->LB1), QStringList({"door.cog", "lift.cog"}));
        QCOMPARE(picker->PalBox->count(), 2);

        // MOTS chosen without a MOTS archive: said at once, and nothing is listed.
        frame.Frame->GameFolders().MotsDir.clear();
        frame.Prompts.ExpectMessage("Warning: Template Path is not set to a MOTS Template");
        frame.Prompts.ExpectMessage(MotsInvalid);
        dir->UseMots1->click();
        QVERIFY(Texts(picker->LB1).isEmpty());
        QVERIFY(dir->RG1->isEnabled());
        dir->close();
        frame.Stop();
    }
};

QTEST_MAIN(ResUiTest)
#include "ResUiTest.moc"
