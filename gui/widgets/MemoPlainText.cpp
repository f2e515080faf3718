#include "MemoPlainText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace pitwall::gui {

QString MemoPlainText(const QPlainTextEdit& memo)
{
    // The raw text separates lines with the Unicode paragraph separator (and
    // a pasted line break may be a line separator); the characters themselves
    // are left as they are.
    QString text = memo.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

} // namespace pitwall::gui
