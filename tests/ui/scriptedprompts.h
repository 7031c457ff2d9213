#pragma once

#include <functional>

// A stand-in for the prompts in UI tests: answers every question from a queue of expected
// questions and records what was asked. A question that was not expected (or of the wrong
// kind or text) is answered with Cancel/No and recorded as a failure, which the test checks
// in cleanup() through Verify().

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtTest>

#include "ui/common/prompts.h"

class TScriptedPrompts : public TPrompts
{
  public:
    struct TCall
    {
        QString Kind;
        QString Text;
        TFileDialog Dialog;
    };

    // An expected question. A null Text accepts any text. For file dialogs Answer is the path
    // chosen (empty for Cancel); for Confirm/AskYesNoCancel/print dialogs Reply is the answer.
    struct TExpectation
    {
        QString Kind;
        QString Text;
        TAnswer Reply = TAnswer::Yes;
        QString Path;
        QFont Font;
        TReplaceAnswer ReplaceReply = TReplaceAnswer::Cancel;
    };

    void ExpectMessage(const QString &text = QString()) { Expect("Message", text); }
    void ExpectConfirm(const QString &text, bool yes)
    {
        Expect("Confirm", text, yes ? TAnswer::Yes : TAnswer::No);
    }
    void ExpectYesNoCancel(const QString &text, TAnswer reply)
    {
        Expect("YesNoCancel", text, reply);
    }
    void ExpectReplace(const QString &text, TReplaceAnswer reply)
    {
        Expect("Replace", text, TAnswer::Yes, QString(), QFont(), reply);
    }
    void ExpectAbortError(const QString &text) { Expect("AbortError", text); }
    void ExpectIOError(const QString &text = QString()) { Expect("IOError", text); }
    // path empty: the user cancels.
    void ExpectOpenFile(const QString &path) { Expect("OpenFile", QString(), TAnswer::Yes, path); }
    void ExpectSaveFile(const QString &path) { Expect("SaveFile", QString(), TAnswer::Yes, path); }
    void ExpectFont(const QFont &font, bool ok = true)
    {
        Expect("Font", QString(), ok ? TAnswer::Yes : TAnswer::Cancel, QString(), font);
    }
    void ExpectPrint(bool ok) { Expect("Print", QString(), ok ? TAnswer::Yes : TAnswer::No); }
    void ExpectPrinterSetup(bool ok)
    {
        Expect("PrinterSetup", QString(), ok ? TAnswer::Yes : TAnswer::No);
    }

    void ShowMessage(const QString &text) override
    {
        Take("Message", text);
        if (WhileShown)
            WhileShown();
    }
    bool Confirm(const QString &text) override
    {
        const TExpectation *e = Take("Confirm", text);
        return e && e->Reply == TAnswer::Yes;
    }
    TAnswer AskYesNoCancel(const QString &text) override
    {
        const TExpectation *e = Take("YesNoCancel", text);
        return e ? e->Reply : TAnswer::Cancel;
    }
    TReplaceAnswer AskReplace(const QString &text) override
    {
        const TExpectation *e = Take("Replace", text);
        return e ? e->ReplaceReply : TReplaceAnswer::Cancel;
    }
    void AbortError(const QString &text) override { Take("AbortError", text); }
    void ShowIOError(const QString &text) override { Take("IOError", text); }
    bool ChooseOpenFile(TFileDialog &dialog) override { return ChooseFile("OpenFile", dialog); }
    bool ChooseSaveFile(TFileDialog &dialog) override { return ChooseFile("SaveFile", dialog); }
    bool ChooseFont(QFont &font) override
    {
        const TExpectation *e = Take("Font", font.family());
        if (!e || e->Reply != TAnswer::Yes)
            return false;
        font = e->Font;
        return true;
    }
    bool ChoosePrinter(QPrinter &) override
    {
        const TExpectation *e = Take("Print", QString());
        return e && e->Reply == TAnswer::Yes;
    }
    bool SetupPrinter(QPrinter &) override
    {
        const TExpectation *e = Take("PrinterSetup", QString());
        return e && e->Reply == TAnswer::Yes;
    }

    // Messages answered without an expectation (the known start-up messages of a frame):
    // they are kept in ToleratedTexts, not in Calls, unless the next expectation is theirs.
    QStringList Tolerated;
    QStringList ToleratedTexts;

    // Runs while a message is shown, as a modal box runs the event loop.
    std::function<void()> WhileShown;

    // Every question asked, in order.
    QList<TCall> Calls;
    QStringList Failures;

    // The texts of the questions of one kind, in order.
    QStringList Texts(const QString &kind = QString()) const
    {
        QStringList texts;
        for (const TCall &call : Calls)
            if (kind.isNull() || call.Kind == kind)
                texts << call.Text;
        return texts;
    }

    // Fails the running test when a question was unexpected or an expected one not asked.
    void Verify()
    {
        for (const TExpectation &e : Queue)
            Failures << "expected but not asked: " + e.Kind + " " + e.Text;
        Queue.clear();
        const QStringList failures = Failures;
        Failures.clear();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join("\n")));
    }

    void Reset()
    {
        Queue.clear();
        Calls.clear();
        Failures.clear();
        Tolerated.clear();
        ToleratedTexts.clear();
    }

  private:
    void Expect(const QString &kind, const QString &text, TAnswer reply = TAnswer::Yes,
                const QString &path = QString(), const QFont &font = QFont(),
                TReplaceAnswer replaceReply = TReplaceAnswer::Cancel)
    {
        TExpectation e;
        e.Kind = kind;
        e.Text = text;
        e.Reply = reply;
        e.Path = path;
        e.Font = font;
        e.ReplaceReply = replaceReply;
        Queue << e;
    }

    const TExpectation *Take(const QString &kind, const QString &text,
                             const TFileDialog *dialog = nullptr)
    {
        if (kind == "Message" && Tolerated.contains(text) &&
            (Queue.isEmpty() || Queue.first().Kind != kind || Queue.first().Text != text))
        {
            ToleratedTexts << text;
            Current = TExpectation();
            Current.Kind = kind;
            Current.Text = text;
            return &Current;
        }
        Calls << TCall{kind, text, dialog ? *dialog : TFileDialog()};
        if (Queue.isEmpty())
        {
            Failures << "unexpected: " + kind + " " + text;
            return nullptr;
        }
        Current = Queue.takeFirst();
        if (Current.Kind != kind || (!Current.Text.isNull() && Current.Text != text))
        {
            Failures << "asked " + kind + " \"" + text + "\" while expecting " + Current.Kind +
                            " \"" + Current.Text + "\"";
            return nullptr;
        }
        return &Current;
    }

    bool ChooseFile(const QString &kind, TFileDialog &dialog)
    {
        const TExpectation *e = Take(kind, dialog.Title, &dialog);
        if (!e || e->Path.isEmpty())
            return false;
        dialog.FileName = e->Path;
        return true;
    }

    QList<TExpectation> Queue;
    TExpectation Current;
};
