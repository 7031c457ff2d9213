#pragma once

#include <functional>

#include <QWidget>

class QPlainTextEdit;

// The line numbers beside an editor's text, 1-based as a user counts lines. The gutter sits
// in the editor's left margin, follows its scrolling and widens with the number of lines.
class TLineGutter : public QWidget
{
    Q_OBJECT

  public:
    // setMargin gives the editor the left margin the gutter needs (the editor's viewport
    // margins are its own to set).
    TLineGutter(QPlainTextEdit *editor, std::function<void(int)> setMargin);

    int GutterWidth() const;
    // The width the gutter takes for a text of lines lines.
    int WidthFor(int lines) const;
    // Takes the width for a text of lines lines. The width of the editor's text changes with
    // it, and the editor lays out every line again when it does, so a text about to be put in
    // whole is given its width while the editor is still empty.
    void FitLineCount(int lines);
    QSize sizeHint() const override { return {GutterWidth(), 0}; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void PlaceBesideText(int width);

    QPlainTextEdit *Editor;
    QWidget *TextArea;
    std::function<void(int)> SetMargin;
};
