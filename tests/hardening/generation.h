// The vocabulary text of save number n: its size and every word change with n, and n
// can be read back from the text, so that a text cut or mixed by a crash shows.
#pragma once
#include "vocabulary/voc_file.h"

#include <QString>

namespace tavi::test {

inline QString generationText(long n)
{
    QString text = VocHeader + u'\r';
    const int words = 1 + int(n % 97) * 40;
    for (int w = 0; w < words; ++w)
        text += QStringLiteral("%1 + ni%2 hao3 + 你好 + generation %3 word %4 + %5 + \r")
                    .arg(n % 10)
                    .arg(w % 5)
                    .arg(n)
                    .arg(w)
                    .arg(w % 12 + 1);
    return text;
}

// The generation whose text this is; -1 for anything else.
inline long generationOf(const QString& text)
{
    const qsizetype at = text.indexOf(u"generation ");
    if (at < 0)
        return -1;
    const long n = text.mid(at + 11, text.indexOf(u' ', at + 11) - at - 11).toLong();
    return text == generationText(n) ? n : -1;
}

} // namespace tavi::test
