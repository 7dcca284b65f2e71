// The formats that fix the order of their numbers themselves, end to end, each with its table.
#include <gtest/gtest.h>

#include "tests/coordtext/LineCases.h"

namespace zelkora {

namespace {

using R = NoPointReason;

TEST(NmeaFormat, SentencesOfAnyTalker) {
    const LineCase cases[] = {
        point("GGA", u"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
              dms(48, 7.038), dms(11, 31)),
        point("RMC of GLONASS and GPS together",
              u"$GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*74",
              dms(48, 7.038), dms(11, 31)),
        point("GLL without a checksum", u"$GPGLL,4916.45,N,12311.12,W,225444,A", dms(49, 16.45),
              -dms(123, 11.12)),
        none("a wrong checksum",
             u"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*48", R::badChecksum),
        none("a fix marked invalid", u"$GPRMC,123519,V,4807.038,N,01131.000,E,,,230394,,*0A",
             R::badChecksum),
        none("a latitude of 99 degrees", u"$GPGLL,9916.45,N,12311.12,W,225444,A", R::outOfRange),
        none("no position yet", u"$GPGGA,123519,,,,,0,00,,,M,,M,,*6B", R::badChecksum),
    };
    expectLines(cases);
}

TEST(KmlFormat, LongitudeFirst) {
    const LineCase cases[] = {
        point("with the altitude", u"<coordinates>131.8855,43.1155,0</coordinates>", 43.1155,
              131.8855),
        point("inside a Placemark",
              u"<Placemark><Point><coordinates>135.0719,48.4803</coordinates></Point></Placemark>",
              48.4803, 135.0719),
        point("one place twice", u"<coordinates>131.8855,43.1155 131.8855,43.1155</coordinates>",
              43.1155, 131.8855),
        none("a line of two places",
             u"<coordinates>131.8855,43.1155 135.0719,48.4803</coordinates>", R::severalPoints),
        none("latitude beyond 90", u"<coordinates>43.1155,131.8855</coordinates>", R::outOfRange),
    };
    expectLines(cases);
}

TEST(GeoJsonFormat, LongitudeFirst) {
    const LineCase cases[] = {
        point("a point", u"{\"type\": \"Point\", \"coordinates\": [131.8855, 43.1155]}", 43.1155,
              131.8855),
        point("with the altitude", u"\"coordinates\":[135.0719,48.4803,72]", 48.4803, 135.0719),
        none("a line", u"\"coordinates\": [[131.8855, 43.1155], [135.0719, 48.4803]]",
             R::severalPoints),
    };
    expectLines(cases);
}

TEST(WktFormat, LongitudeFirst) {
    const LineCase cases[] = {
        point("a point", u"POINT (131.8855 43.1155)", 43.1155, 131.8855),
        point("with Z and a reference system", u"SRID=4326;POINT Z (135.0719 48.4803 72)", 48.4803,
              135.0719),
        point("lower case", u"point(131.8855 43.1155)", 43.1155, 131.8855),
    };
    expectLines(cases);
}

TEST(GeoUriFormat, LatitudeFirst) {
    const LineCase cases[] = {
        point("plain", u"geo:43.1155,131.8855", 43.1155, 131.8855),
        point("altitude and parameters", u"geo:48.4803,135.0719,72;u=35", 48.4803, 135.0719),
        point("a phone's query", u"geo:0,0?q=43.1155,131.8855(Vladivostok)", 43.1155, 131.8855),
    };
    expectLines(cases);
}

TEST(MapLinks, EachMapsOrder) {
    const LineCase cases[] = {
        point("Google's view", u"https://www.google.com/maps/@48.4802778,135.0719444,15z",
              48.4802778, 135.0719444),
        point(
            "Google's place wins over the view",
            u"https://www.google.com/maps/place/Khabarovsk/@48.47,135.05,12z/data=!3m1!4b1!4m6!3m5!"
            u"1s0x0:0x0!8m2!3d48.4802778!4d135.0719444",
            48.4802778, 135.0719444),
        point("OpenStreetMap's view", u"https://www.openstreetmap.org/#map=16/43.1155/131.8855",
              43.1155, 131.8855),
        point("OpenStreetMap's marker",
              u"https://www.openstreetmap.org/?mlat=43.1155&mlon=131.8855#map=12/43.1/131.9",
              43.1155, 131.8855),
        point("Yandex: longitude first", u"https://yandex.ru/maps/?ll=135.071944%2C48.480278&z=12",
              48.480278, 135.071944),
        point("Yandex's placemark", u"https://yandex.ru/maps/?pt=131.8855,43.1155&z=14", 43.1155,
              131.8855),
        point("Apple: latitude first", u"https://maps.apple.com/?ll=43.1155,131.8855", 43.1155,
              131.8855),
        none("elsewhere both orders fit", u"https://maps.example.org/?ll=43.1155,41.8855",
             R::outOfRange),
    };
    expectLines(cases);
}

TEST(Iso6709Format, SignedAndRunTogether) {
    const LineCase cases[] = {
        point("degrees", u"+48.4803+135.0719/", 48.4803, 135.0719),
        point("western with the altitude", u"+40.7128-074.0060+10.5/", 40.7128, -74.006),
        point("degrees and minutes, western", u"+4828.8-13504.3/", dms(48, 28.8), -dms(135, 4.3)),
        point("degrees, minutes and seconds", u"+482849+1350419CRSWGS_84/", dms(48, 28, 49),
              dms(135, 4, 19)),
    };
    expectLines(cases);
}

}  // namespace

}  // namespace zelkora
