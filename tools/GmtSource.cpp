#include "tools/GmtSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <cmath>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

// Runs gmt with the arguments in workDir, where it keeps its history file; its standard output goes
// to outFile when given, else is returned.
QByteArray runGmt(const QString& workDir, const QStringList& args, const QString& outFile = {}) {
    QProcess gmt;
    gmt.setWorkingDirectory(workDir);
    if (!outFile.isEmpty()) {
        gmt.setStandardOutputFile(outFile);
    }
    gmt.start(QStringLiteral("gmt"), args);
    if (!gmt.waitForStarted()) {
        throw ZelkoraError("cannot start gmt (install it with tools/fetch-sources.sh)");
    }
    QByteArray out;
    while (!gmt.waitForFinished(200)) {
        if (outFile.isEmpty()) {
            out += gmt.readAllStandardOutput();
        }
    }
    if (outFile.isEmpty()) {
        out += gmt.readAllStandardOutput();
    }
    if (gmt.exitStatus() != QProcess::NormalExit || gmt.exitCode() != 0) {
        throw ZelkoraError("gmt " + args.join(' ') + " failed:\n" +
                           QString::fromLocal8Bit(gmt.readAllStandardError()));
    }
    return out;
}

}  // namespace

GmtSource::GmtSource(const QString& workDir, double minAreaKm2, char resolution)
    : workDir_(QDir(workDir).absolutePath()),
      minAreaKm2_(minAreaKm2),
      resolution_(QStringLiteral("-D") + QLatin1Char(resolution)) {
    QDir().mkpath(workDir_);
}

GeoBox GmtSource::regionOf(const GeoBox& box) {
    return {.west = std::floor(box.west),
            .east = std::ceil(box.east),
            .south = std::floor(box.south),
            .north = std::ceil(box.north)};
}

QString GmtSource::region(const GeoBox& box) const {
    const GeoBox r = regionOf(box);
    return QStringLiteral("-R%1/%2/%3/%4").arg(r.west).arg(r.east).arg(r.south).arg(r.north);
}

std::vector<GeoPolyline> GmtSource::dump(const GeoBox& box, const QStringList& selection) const {
    const QByteArray text = runGmt(workDir_, QStringList{QStringLiteral("coast"), region(box),
                                                         resolution_, QStringLiteral("-M")} +
                                                 selection);
    static const QRegularExpression levelRe(QStringLiteral("Level\\s+(\\d+)"));
    std::vector<GeoPolyline> lines;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        if (line.startsWith('>')) {
            GeoPolyline next;
            const auto m = levelRe.match(QString::fromLatin1(line));
            next.level = m.hasMatch() ? m.captured(1).toInt() : 0;
            lines.push_back(std::move(next));
            continue;
        }
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool okLon = false;
        bool okLat = false;
        const double lon = fields.value(0).toDouble(&okLon);
        const double lat = fields.value(1).toDouble(&okLat);
        if (!okLon || !okLat || lines.empty()) {
            throw ZelkoraError("unexpected line in gmt coast output: " + line.toStdString());
        }
        lines.back().points.push_back({.lat = lat, .lon = lon});
    }
    std::erase_if(lines, [](const GeoPolyline& l) { return l.points.size() < 2; });
    return lines;
}

std::vector<GeoPolyline> GmtSource::shores(const GeoBox& box) const {
    return dump(box, {QStringLiteral("-W"), QStringLiteral("-A%1").arg(minAreaKm2_)});
}

std::vector<GeoPolyline> GmtSource::rivers(const GeoBox& box) const {
    return dump(box, {QStringLiteral("-Ir")});
}

std::vector<GeoPolyline> GmtSource::borders(const GeoBox& box) const {
    const std::vector<GeoPolyline> all = dump(box, {QStringLiteral("-N1")});

    // GSHHG borders include maritime lines (round Phu Quoc, across the Bering Strait) that would
    // overdraw the coast; keep the pieces over land and lakes only. gmt select passes the line
    // and point numbers through in the extra columns.
    const QString pointsPath = workDir_ + QStringLiteral("/border-points.txt");
    {
        QFile points(pointsPath);
        if (!points.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            throw ZelkoraError("cannot write " + pointsPath.toStdString());
        }
        QTextStream out(&points);
        out.setRealNumberPrecision(12);
        for (std::size_t i = 0; i < all.size(); ++i) {
            for (std::size_t k = 0; k < all[i].points.size(); ++k) {
                out << all[i].points[k].lon << ' ' << all[i].points[k].lat << ' ' << i << ' ' << k
                    << '\n';
            }
        }
    }
    const QByteArray kept =
        runGmt(workDir_, {QStringLiteral("select"), pointsPath, region(box), resolution_,
                          QStringLiteral("-A%1").arg(minAreaKm2_), QStringLiteral("-Ns/k/k/k/k")});
    QFile::remove(pointsPath);
    std::vector<std::vector<bool>> onLand(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        onLand[i].assign(all[i].points.size(), false);
    }
    for (const QByteArray& line : kept.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 4) {
            const auto i = static_cast<std::size_t>(f[2].toLongLong());
            const auto k = static_cast<std::size_t>(f[3].toLongLong());
            if (i < onLand.size() && k < onLand[i].size()) {
                onLand[i][k] = true;
            }
        }
    }
    std::vector<GeoPolyline> lines;
    for (std::size_t i = 0; i < all.size(); ++i) {
        GeoPolyline run{{}, all[i].level};
        for (std::size_t k = 0; k <= all[i].points.size(); ++k) {
            if (k < all[i].points.size() && onLand[i][k]) {
                run.points.push_back(all[i].points[k]);
            } else {
                if (run.points.size() >= 2) {
                    lines.push_back(run);
                }
                run.points.clear();
            }
        }
    }
    return lines;
}

LandMask GmtSource::landMask(const GeoBox& box, double dxDeg, double dyDeg) const {
    const auto [west, east, south, north] = regionOf(box);
    const int cols = static_cast<int>(std::lround((east - west) / dxDeg));
    const int rows = static_cast<int>(std::lround((north - south) / dyDeg));
    const QString reg = region(box);
    const QString inc = QStringLiteral("-I%1/%2").arg(dxDeg).arg(dyDeg);
    const QString area = QStringLiteral("-A%1").arg(minAreaKm2_);

    QString key = reg + inc + area;
    key.replace(QRegularExpression(QStringLiteral("[^0-9A-Za-z.]+")), QStringLiteral("_"));
    const QString rawPath = workDir_ + QStringLiteral("/landmask") + key + QStringLiteral(".u8");
    const qint64 expected = static_cast<qint64>(cols) * rows;
    if (QFileInfo(rawPath).size() != expected) {
        const QString grid = workDir_ + QStringLiteral("/landmask.nc");
        // Ocean, land, lake, island in lake, pond on island: lakes count as water.
        runGmt(workDir_,
               {QStringLiteral("grdlandmask"), reg, inc, QStringLiteral("-r"), resolution_, area,
                QStringLiteral("-N0/1/0/1/0"), QStringLiteral("-G%1=nb").arg(grid)});
        runGmt(workDir_, {QStringLiteral("grd2xyz"), grid, QStringLiteral("-ZTLc")}, rawPath);
        QFile::remove(grid);
    }
    QFile file(rawPath);
    if (!file.open(QIODevice::ReadOnly)) {
        throw ZelkoraError("cannot read the land mask " + rawPath.toStdString());
    }
    const QByteArray bytes = file.readAll();
    std::vector<std::uint8_t> cells(bytes.begin(), bytes.end());
    return LandMask(west, north, dxDeg, dyDeg, cols, rows, std::move(cells));
}

}  // namespace zelkora
