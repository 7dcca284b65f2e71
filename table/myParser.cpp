#include "table/myParser.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QStringList>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "common/ZelkoraError.h"
#include "table/CommaText.h"
#include "table/CoordFormat.h"
#include "table/StrToFloat.h"

namespace {

// One compiled pattern with its replacement, shared by all calls: UTF mode, every line
// break a newline, \s ASCII only (no PCRE2_UCP).
class Replacement {
  public:
    Replacement(const char* pattern, const char* replacement) : replacement_(replacement) {
        pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
        pcre2_set_newline(context, PCRE2_NEWLINE_ANY);
        pcre2_set_bsr(context, PCRE2_BSR_UNICODE);
        int error = 0;
        PCRE2_SIZE offset = 0;
        code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED,
                              PCRE2_UTF, &error, &offset, context);
        pcre2_compile_context_free(context);
        if (!code_) {
            throw ZelkoraError(QStringLiteral("Ошибка в шаблоне нормализатора координат: %1")
                                   .arg(QString::fromLatin1(pattern)));
        }
        pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);  // falls back to the interpreter
    }
    ~Replacement() { pcre2_code_free(code_); }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    // Every match, left to right; an unset group 1 inserts nothing.
    std::string apply(const std::string& subject) const {
        thread_local const std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)>
            matchData(pcre2_match_data_create(4, nullptr), &pcre2_match_data_free);
        // Both replacements only shrink the text, so the subject's length is enough at once.
        std::string out(subject.size() + 1, '\0');
        for (;;) {
            PCRE2_SIZE length = out.size();
            const int rc = pcre2_substitute(
                code_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_UNSET_EMPTY |
                    PCRE2_SUBSTITUTE_OVERFLOW_LENGTH,
                matchData.get(), nullptr, reinterpret_cast<PCRE2_SPTR>(replacement_),
                PCRE2_ZERO_TERMINATED, reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
            if (rc >= 0) {
                out.resize(length);
                return out;
            }
            if (rc != PCRE2_ERROR_NOMEMORY) {
                PCRE2_UCHAR message[256];
                pcre2_get_error_message(rc, message, sizeof message);
                throw ZelkoraError(QStringLiteral("Нормализатор координат не смог разобрать "
                                                  "строку: %1")
                                       .arg(QString::fromUtf8(reinterpret_cast<char*>(message))));
            }
            out.assign(length, '\0');  // length now holds the size needed
        }
    }

  private:
    pcre2_code* code_ = nullptr;
    const char* replacement_;
};

const Replacement& trimBlanks() {
    static const Replacement r("^\\s+|\\s+$|(\\s)\\s+", "$1");
    return r;
}

const Replacement& blankOthers() {
    static const Replacement r("[^0-9|\\..|\\s]", " ");
    return r;
}

// Plain replacement, left to right, never looking again at text it has produced.
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t at = text.find(from);
    if (at == std::string::npos) {
        return;
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (; at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
    }
    out.append(text, start, std::string::npos);
    text = std::move(out);
}

std::string normalize(const QString& s) {
    const QByteArray utf8 = s.toUtf8();
    std::string text = trimBlanks().apply(std::string(utf8.constData(), utf8.size()));
    replaceAll(text, ",", ".");
    text = blankOthers().apply(text);
    replaceAll(text, "..", ".");
    replaceAll(text, ". ", ".");
    replaceAll(text, " .", ".");
    return trimBlanks().apply(text);
}

}  // namespace

QString normalizeCoordinateText(const QString& s) {
    return QString::fromLatin1(normalize(s));
}

QString myParser(const QString& s) {
    const QStringList items = SplitCommaText(normalizeCoordinateText(s));
    // Converted strictly in item order, so the first bad item is the one reported.
    std::array<double, 6> n{};
    if (items.size() == 2) {
        n[0] = StrToFloat(items[0]);
        n[1] = StrToFloat(items[1]);
        return formatCoordinate(n[0]) + QStringLiteral(", ") + formatCoordinate(n[1]);
    }
    if (items.size() == 6) {
        for (std::size_t i = 0; i < 6; ++i) {
            n[i] = StrToFloat(items[static_cast<qsizetype>(i)]);
        }
        const double lat = n[0] + n[1] / 60 + n[2] / 60 / 60;
        const double lon = n[3] + n[4] / 60 + n[5] / 60 / 60;
        return formatCoordinate(lat) + QStringLiteral(", ") + formatCoordinate(lon);
    }
    return {};
}
