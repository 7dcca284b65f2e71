#include "coordtext/MapLinkReader.h"

#include <cmath>
#include <vector>

#include "coordtext/TextScan.h"

namespace zelkora {

namespace {

enum class Order { latFirst, lonFirst, eitherThatFits };

// The link that holds position at, from its "http" or "www." up to the next blank.
struct Link {
    qsizetype begin = 0;
    qsizetype end = 0;
};

Link linkAround(QStringView text, qsizetype at) {
    Link link{at, at};
    while (link.begin > 0 && !text[link.begin - 1].isSpace()) {
        --link.begin;
    }
    while (link.end < text.size() && !text[link.end].isSpace()) {
        ++link.end;
    }
    return link;
}

bool isLink(QStringView link) {
    return findCaseless(link, u"http") >= 0 || findCaseless(link, u"www.") >= 0 ||
           findCaseless(link, u"maps") >= 0 || findCaseless(link, u"osm.org") >= 0;
}

// Two numbers after at, joined by joiner.
bool pairAt(QStringView text, qsizetype at, char16_t joiner, ScannedNumber& a, ScannedNumber& b) {
    qsizetype i = at;
    const auto first = scanNumber(text, i);
    if (!first || !skipChar(text, i, joiner)) {
        return false;
    }
    const auto second = scanNumber(text, i);
    if (!second) {
        return false;
    }
    a = *first;
    b = *second;
    return true;
}

// The value of key= in the link's query or fragment.
std::optional<ScannedNumber> parameter(QStringView link, QStringView key) {
    for (qsizetype at = findCaseless(link, key); at >= 0; at = findCaseless(link, key, at + 1)) {
        if (at > 0 && link[at - 1] != u'?' && link[at - 1] != u'&' && link[at - 1] != u'#' &&
            link[at - 1] != u';') {
            continue;
        }
        qsizetype i = at + key.size();
        if (auto n = scanNumber(link, i)) {
            return n;
        }
    }
    return std::nullopt;
}

}  // namespace

void MapLinkReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'/') && !line.tokens.holds(u'=')) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype start = 0; start < text.size();) {
        // One link at a time.
        qsizetype i = start;
        while (i < text.size() && text[i].isSpace()) {
            ++i;
        }
        if (i >= text.size()) {
            break;
        }
        const Link range = linkAround(text, i);
        start = range.end;
        const QStringView link = text.sliced(range.begin, range.end - range.begin);
        if (!isLink(link)) {
            continue;
        }
        std::vector<FoundPoint> points;
        bool refused = false;
        const auto add = [&](const ScannedNumber& first, const ScannedNumber& second, Order order) {
            const auto latLon = foundPoint(first, second);
            const auto lonLat = foundPoint(second, first);
            if (order == Order::latFirst && latLon) {
                points.push_back(*latLon);
            } else if (order == Order::lonFirst && lonLat) {
                points.push_back(*lonLat);
            } else if (order == Order::eitherThatFits &&
                       (latLon.has_value() != lonLat.has_value())) {
                points.push_back(latLon ? *latLon : *lonLat);
            } else {
                refused = true;
            }
        };
        ScannedNumber a;
        ScannedNumber b;
        const bool yandex = findCaseless(link, u"yandex") >= 0;
        const bool latFirstLl =
            findCaseless(link, u"google") >= 0 || findCaseless(link, u"apple.com") >= 0;
        // Google: the place (!3d…!4d…) rather than the view's centre (@…).
        const qsizetype place = findCaseless(link, u"!3d");
        const qsizetype placeLon = findCaseless(link, u"!4d");
        if (place >= 0 && placeLon > place) {
            qsizetype i3 = place + 3;
            qsizetype i4 = placeLon + 3;
            const auto lat = scanNumber(link, i3);
            const auto lon = scanNumber(link, i4);
            if (lat && lon) {
                add(*lat, *lon, Order::latFirst);
            }
        } else if (const qsizetype at = link.indexOf(u"/@");
                   at >= 0 && pairAt(link, at + 2, u',', a, b)) {
            add(a, b, Order::latFirst);
        }
        if (const qsizetype map = findCaseless(link, u"map="); map >= 0) {
            qsizetype k = map + 4;
            if (scanNumber(link, k) && skipChar(link, k, u'/') && pairAt(link, k, u'/', a, b)) {
                add(a, b, Order::latFirst);
            }
        }
        if (const auto mlat = parameter(link, u"mlat="); mlat) {
            if (const auto mlon = parameter(link, u"mlon=")) {
                add(*mlat, *mlon, Order::latFirst);
            }
        }
        for (const QStringView key : {QStringView(u"ll="), QStringView(u"pt="), QStringView(u"q="),
                                      QStringView(u"query=")}) {
            for (qsizetype at = findCaseless(link, key); at >= 0;
                 at = findCaseless(link, key, at + 1)) {
                if (at == 0 || (link[at - 1] != u'?' && link[at - 1] != u'&')) {
                    continue;
                }
                if (!pairAt(link, at + key.size(), u',', a, b)) {
                    continue;
                }
                Order order = Order::latFirst;
                if (key == u"ll=") {
                    order = yandex       ? Order::lonFirst
                            : latFirstLl ? Order::latFirst
                                         : Order::eitherThatFits;
                } else if (key == u"pt=") {
                    order = Order::lonFirst;
                }
                add(a, b, order);
            }
        }
        if (!points.empty() || refused) {
            line.evidence.claim(line.tokens, range.begin, range.end);
        }
        for (FoundPoint& p : points) {
            p.begin = range.begin;
            p.end = range.end;
            p.notation = Notation::mapLink;
        }
        if (refused) {
            addBadPoint(found, NoPointReason::outOfRange, range.begin, range.end,
                        Notation::mapLink);
        }
        found.points.insert(found.points.end(), points.begin(), points.end());
    }
}

}  // namespace zelkora
