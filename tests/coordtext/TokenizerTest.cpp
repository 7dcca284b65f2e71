// The tokens every reader works on: decimal commas told from list commas, minus signs from
// dashes, marks joined to their numbers, phrases joined into one hemisphere, and the numbers
// that are no coordinates marked.
#include <gtest/gtest.h>

#include <QStringList>

#include "coordtext/Evidence.h"
#include "coordtext/Tokenizer.h"

namespace zelkora {

namespace {

// The tokens of a line as short text: numbers as their value with their sign and mark
// (° ' "), an ignored number in brackets, hemispheres as h(axis,sign), the rest by kind.
QString describe(const QString& text) {
    TokenLine line;
    tokenize(text, line);
    Evidence evidence;
    evidence.reset(line);
    evidence.weigh(line);
    QStringList parts;
    for (std::size_t k = 0; k < line.tokens.size(); ++k) {
        const Token& t = line.tokens[k];
        const bool ignored = evidence.against(static_cast<int>(k)) != NotCoordinate::no;
        switch (t.kind) {
            case TokenKind::number: {
                static const QString kMarks[] = {QString(), QStringLiteral("\u00B0"),
                                                 QStringLiteral("'"), QStringLiteral("\"")};
                const QString n = (t.negative ? QStringLiteral("-") : QString()) +
                                  QString::number(t.value, 'g', 10) +
                                  kMarks[static_cast<int>(t.unit)];
                parts << (ignored ? QStringLiteral("[%1]").arg(n) : n);
                break;
            }
            case TokenKind::hemisphere:
                if (t.letter != 0) {
                    parts << QStringLiteral("h(%1)").arg(QChar(t.letter));
                    break;
                }
                parts << QStringLiteral("h(%1,%2)")
                             .arg(t.axis == Axis::latitude    ? QStringLiteral("lat")
                                  : t.axis == Axis::longitude ? QStringLiteral("lon")
                                                              : QStringLiteral("?"))
                             .arg(t.sign);
                break;
            case TokenKind::separator:
                parts << QStringLiteral("sep");
                break;
            case TokenKind::dash:
                parts << QStringLiteral("dash");
                break;
            case TokenKind::word:
                parts << QStringLiteral("word");
                break;
            default:
                parts << QStringLiteral("other");
                break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

TEST(Tokenizer, CutsALineOnceForEveryReader) {
    struct Case {
        const char16_t* line;
        const char* tokens;
    };
    const Case cases[] = {
        {u"48,5,135,25", "48.5 sep 135.25"},
        {u"48.48,135.07", "48.48 sep 135.07"},
        {u"-33.5 -70.6", "-33.5 -70.6"},
        {u"43.1-131.9", "43.1 dash 131.9"},
        {u"37\"-36\u00B0", "37\" dash 36\u00B0"},
        {u"48\u00B028\u203249\u2033N", "48\u00B0 28' 49\" h(N)"},
        {u"48 \u00B0 28 '", "48\u00B0 28'"},
        {u"lat=\"43.1155\"", "h(lat,0) other other 43.1155 other"},
        {u"48\u00B028\u2032 \u044E. \u0448.", "48\u00B0 28' h(lat,-1) other"},
        {u"20\u00B0 v\u0129 \u0111\u1ED9 Nam", "20\u00B0 h(lat,-1)"},
        {u"33\u00B0 South latitude", "33\u00B0 h(lat,-1)"},
        {u"40d7m22.8sN", "40\u00B0 7' 22.8\" h(N)"},
        {u"352 m, 12.VI.2015, 1\u2642",
         "[352] word sep [12] other word other [2015] sep [1] other"},
        {u"alt. 352, F3JC, \u00B110", "word other [352] sep word [3] word sep [10]"},
        {u"24.8\u00B0C, 2010", "[24.8] sep [2010]"},
        {u"1200\u20131350 m", "[1200] dash [1350] word"},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(describe(line).toStdString(), std::string(c.tokens));
    }
}

}  // namespace

}  // namespace zelkora
