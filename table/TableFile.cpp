#include "table/TableFile.h"

#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/AtomicFile.h"
#include "common/FileReader.h"
#include "common/ZelkoraError.h"
#include "table/Cp1251.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

constexpr char kCtrlZ = 26;
constexpr std::size_t kMaxNumberRun = 32;
// No cell comes near this; a longer line means a file that is no table, which would otherwise
// cost gigabytes of memory.
constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The message of a failed system call on path. A missing file in an existing folder is "not
// found"; anything missing above it makes the name itself invalid.
[[noreturn]] void throwIoError(int err, const std::string& path) {
    switch (err) {
        case ENOENT:
            if (!path.empty() && !isDirectory(parentOf(path))) {
                throw ZelkoraError("Invalid file name - %s");
            }
            throw ZelkoraError("The specified file was not found");
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            throw ZelkoraError("Invalid file name - %s");
        case EMFILE:
        case ENFILE:
            throw ZelkoraError("Too many open files");
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            throw ZelkoraError("File access denied");
        case ENOSPC:
        case EDQUOT:
            throw ZelkoraError("I/O error 112");
        case EBUSY:
        case ETXTBSY:
            throw ZelkoraError("I/O error 32");
        default:
            throw ZelkoraError(QStringLiteral("I/O error %1").arg(err));
    }
}

std::string localPath(const QString& fileName) {
    const QByteArray encoded = QFile::encodeName(fileName);
    return std::string(encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

// ---- writing

void appendCell(QByteArray& out, const QString& text) {
    QByteArray bytes = encodeCp1251(text);
    // A break inside a cell would shift every later cell on loading, Ctrl-Z would end the file.
    bytes.replace("\r\n", " ");
    for (char& b : bytes) {
        if (b == '\r' || b == '\n' || b == kCtrlZ) {
            b = ' ';
        }
    }
    out += bytes;
    out += "\r\n";
}

QByteArray fileBytes(const PointTable& table) {
    QByteArray out;
    out += QByteArray::number(table.ColCount()) + "\r\n";
    out += QByteArray::number(table.RowCount()) + "\r\n";
    for (int c = 0; c < table.ColCount(); ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            appendCell(out, table.cell(c, r));
        }
    }
    return out;
}

// ---- reading

// The file's text, read line by line in pieces as it is needed, so lines past the counts are
// never read. A Ctrl-Z ends the text. Past the end every line is empty.
class LineReader {
  public:
    LineReader(FileReader& file, const QString& fileName) : file_(file), fileName_(fileName) {}

    bool atEnd() {
        fill(1);
        return pos_ >= buffer_.size();
    }

    // The integer of a count line: blanks and line ends skipped, then a run of at most 32
    // characters above code 32. Nothing left gives 0; a run that is not an integer fails.
    std::int64_t readInteger() {
        for (;;) {
            fill(1);
            if (pos_ >= buffer_.size()) {
                return 0;
            }
            if (static_cast<unsigned char>(buffer_[pos_]) > 32) {
                break;
            }
            ++pos_;
        }
        fill(kMaxNumberRun);
        const std::size_t start = pos_;
        while (pos_ < buffer_.size() && (pos_ - start) < kMaxNumberRun &&
               static_cast<unsigned char>(buffer_[pos_]) > 32) {
            ++pos_;
        }
        const std::optional<std::int64_t> value =
            parseInteger(std::string_view(buffer_).substr(start, pos_ - start));
        if (!value) {
            throw ZelkoraError("Invalid numeric input");
        }
        return *value;
    }

    void skipLine() { pos_ = afterLineEnd(lineEnd()); }

    // The next line without its end; a CR anywhere in it is dropped.
    std::string readLine() {
        const std::size_t end = lineEnd();
        std::string line;
        line.reserve(end - pos_);
        for (std::size_t i = pos_; i < end; ++i) {
            if (buffer_[i] != '\r') {
                line += buffer_[i];
            }
        }
        pos_ = afterLineEnd(end);
        return line;
    }

  private:
    static constexpr std::size_t kPiece = std::size_t{1} << 16;

    // Reads until `wanted` bytes lie ahead of pos_, or the text has ended.
    void fill(std::size_t wanted) {
        while (!ended_ && buffer_.size() - pos_ < wanted) {
            buffer_.erase(0, pos_);
            pos_ = 0;
            const std::size_t old = buffer_.size();
            const std::size_t piece = std::max(kPiece, wanted - old);
            buffer_.resize(old + piece);
            std::size_t got = 0;
            const int err = file_.read(buffer_.data() + old, piece, got);
            buffer_.resize(old + got);
            if (err == FileReader::kChanged) {
                throw ZelkoraError(FileReader::changedMessage(fileName_));
            }
            if (err != 0) {
                throwIoError(err, localPath(fileName_));
            }
            const std::size_t ctrlZ = buffer_.find(kCtrlZ, old);
            if (ctrlZ != std::string::npos) {
                buffer_.resize(ctrlZ);
                ended_ = true;
            }
            ended_ = ended_ || got < piece;
        }
    }

    // Where the current line ends: its LF, or the end of the text.
    std::size_t lineEnd() {
        std::size_t searched = 0;  // bytes ahead of pos_ known to hold no LF
        for (;;) {
            const std::size_t ahead = std::min(buffer_.size() - pos_, kMaxLineBytes + 1);
            const std::size_t lf = buffer_.find('\n', pos_ + searched);
            if (lf != std::string::npos && lf - pos_ < ahead) {
                return lf;
            }
            if (ahead > kMaxLineBytes) {
                throw ZelkoraError(
                    QStringLiteral("В файле есть строка длиннее %1 байт: это не таблица точек")
                        .arg(kMaxLineBytes));
            }
            if (ended_) {
                return buffer_.size();
            }
            searched = buffer_.size() - pos_;
            fill(searched + 1);
        }
    }

    std::size_t afterLineEnd(std::size_t end) const { return end < buffer_.size() ? end + 1 : end; }

    // An optional sign, then decimal digits, or hexadecimal ones after "$", "x", "X", "0x" or
    // "0X". The value must fit a 32-bit integer.
    static std::optional<std::int64_t> parseInteger(std::string_view run) {
        std::size_t i = 0;
        bool negative = false;
        if (i < run.size() && (run[i] == '+' || run[i] == '-')) {
            negative = run[i] == '-';
            ++i;
        }
        int base = 10;
        if (i < run.size() && (run[i] == '$' || run[i] == 'x' || run[i] == 'X')) {
            base = 16;
            ++i;
        } else if (i + 1 < run.size() && run[i] == '0' &&
                   (run[i + 1] == 'x' || run[i + 1] == 'X')) {
            base = 16;
            i += 2;
        }
        if (i == run.size()) {
            return std::nullopt;
        }
        std::int64_t value = 0;
        for (; i < run.size(); ++i) {
            const char ch = run[i];
            int digit = -1;
            if (ch >= '0' && ch <= '9') {
                digit = ch - '0';
            } else if (base == 16 && ch >= 'a' && ch <= 'f') {
                digit = ch - 'a' + 10;
            } else if (base == 16 && ch >= 'A' && ch <= 'F') {
                digit = ch - 'A' + 10;
            }
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * base + digit;
            if (value > (negative ? 2147483648LL : 2147483647LL)) {
                return std::nullopt;
            }
        }
        return negative ? -value : value;
    }

    FileReader& file_;
    const QString& fileName_;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool ended_ = false;  // the file is read to its end or to a Ctrl-Z
};

}  // namespace

void SaveStringGrid(const PointTable& StringGrid, const QString& FileName) {
    AtomicFile file(FileName);
    if (const int err = file.open()) {
        throwIoError(err, file.target().toStdString());
    }
    const QByteArray bytes = fileBytes(StringGrid);
    int err = file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (err == 0) {
        err = file.sync();
    }
    if (err == 0) {
        err = file.commit();
    }
    if (err != 0) {
        throwIoError(err, file.target().toStdString());
    }
}

void LoadStringGrid(PointTable& StringGrid, const QString& FileName) {
    FileReader file(FileName);
    if (const int err = file.open()) {
        throwIoError(err, localPath(FileName));
    }
    LineReader reader(file, FileName);
    const std::int64_t cols = std::max<std::int64_t>(reader.readInteger(), 1);
    reader.skipLine();
    const std::int64_t rows = std::max<std::int64_t>(reader.readInteger(), 1);
    reader.skipLine();
    if (cols > kMaxTableColumns || rows > kMaxTableRows || cols * rows > kMaxTableCells) {
        throw ZelkoraError(QStringLiteral("Таблица в файле слишком велика: %1 столбцов и %2 строк. "
                                          "Можно не больше %3 столбцов, %4 строк и %5 ячеек.")
                               .arg(cols)
                               .arg(rows)
                               .arg(kMaxTableColumns)
                               .arg(kMaxTableRows)
                               .arg(kMaxTableCells));
    }
    std::vector<QString> cells(static_cast<std::size_t>(cols * rows));
    for (QString& cell : cells) {
        if (reader.atEnd()) {
            break;  // a short file leaves the remaining cells empty
        }
        cell = decodeCp1251(reader.readLine());
    }
    StringGrid.replaceAll(static_cast<int>(cols), static_cast<int>(rows), std::move(cells));
}

}  // namespace zelkora
