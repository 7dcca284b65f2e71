#include "coordtext/LetterSystems.h"

namespace zelkora {

namespace {

constexpr LetterMeaning kNorth{Axis::latitude, +1};
constexpr LetterMeaning kSouth{Axis::latitude, -1};
constexpr LetterMeaning kEast{Axis::longitude, +1};
constexpr LetterMeaning kWest{Axis::longitude, -1};

}  // namespace

std::optional<LetterMeaning> letterMeaning(char16_t letter, LetterSystem system) {
    using S = LetterSystem;
    switch (system) {
        case S::international:
            switch (letter) {
                case u'N':
                    return kNorth;
                case u'S':
                    return kSouth;
                case u'E':
                    return kEast;
                case u'W':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::german:
            switch (letter) {
                case u'N':
                    return kNorth;
                case u'S':
                    return kSouth;
                case u'O':
                    return kEast;
                case u'W':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::dutch:
            switch (letter) {
                case u'N':
                    return kNorth;
                case u'Z':
                    return kSouth;
                case u'O':
                    return kEast;
                case u'W':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::romance:
            switch (letter) {
                case u'N':
                    return kNorth;
                case u'S':
                    return kSouth;
                case u'E':
                    return kEast;
                case u'O':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::portuguese:
            switch (letter) {
                case u'N':
                    return kNorth;
                case u'S':
                    return kSouth;
                case u'E':
                case u'L':
                    return kEast;
                case u'O':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::czech:
            switch (letter) {
                case u'S':
                    return kNorth;
                case u'J':
                    return kSouth;
                case u'V':
                    return kEast;
                case u'Z':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::danish:
            switch (letter) {
                case u'N':
                    return kNorth;
                case u'S':
                    return kSouth;
                case u'\u00D8':
                    return kEast;  // Ø
                case u'V':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::swedish:
            switch (letter) {
                case u'N':
                    return kNorth;
                case u'S':
                    return kSouth;
                case u'\u00D6':  // Ö
                case u'O':
                    return kEast;
                case u'V':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::finnish:
            switch (letter) {
                case u'P':
                    return kNorth;
                case u'E':
                    return kSouth;
                case u'I':
                    return kEast;
                case u'L':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::vietnamese:
            switch (letter) {
                case u'B':
                    return kNorth;
                case u'N':
                    return kSouth;
                case u'\u0110':
                    return kEast;  // Đ
                case u'T':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::vietnameseNorth:
            switch (letter) {
                case u'B':
                case u'N':
                    return kNorth;
                case u'\u0110':
                    return kEast;
                case u'T':
                    return kWest;
                default:
                    return std::nullopt;
            }
        case S::count:
            break;
    }
    return std::nullopt;
}

LetterSystems systemsWriting(char16_t letter) {
    LetterSystems result;
    for (std::size_t s = 0; s < static_cast<std::size_t>(LetterSystem::count); ++s) {
        if (letterMeaning(letter, static_cast<LetterSystem>(s))) {
            result.set(s);
        }
    }
    return result;
}

}  // namespace zelkora
