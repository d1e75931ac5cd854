#include "dvb/DVBPlaybackCore/GenreText.h"

namespace DVBPlaybackCore {

namespace {

constexpr const char16_t* kShortNames[16] = {
    u"", u"News", u"Show", u"Sport", u"Children", u"Music", u"Culture", u"Social",
    u"News", u"Leisure", u"Movie", u"Adventure", u"Science", u"Comedy", u"Romance", u"Adult",
};

// ETSI EN 300 468, content descriptor: the level 1 / level 2 assignments; unlisted values are empty.
constexpr const char16_t* kDescriptions[0xC0] = {
    // 0x00
    u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"",
    // 0x10
    u"movie/drama (general)", u"detective/thriller", u"adventure/western/war",
    u"science fiction/fantasy/horror", u"comedy", u"soap/melodrama/folkloric", u"romance",
    u"serious/classical/religious/historical movie/drama", u"adult movie/drama",
    u"to 0xE reserved for future use", u"user defined", u"user defined", u"user defined", u"user defined",
    u"user defined", u"user defined",
    // 0x20
    u"news/current affairs (general)", u"news/weather report", u"news magazine", u"documentary",
    u"discussion/interview/debate", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"",
    // 0x30
    u"show/game show (general)", u"game show/quiz/contest", u"variety show", u"talk show", u"", u"", u"", u"",
    u"", u"", u"", u"", u"", u"", u"", u"",
    // 0x40
    u"sports (general)", u"special events (Olympic Games, World Cup, etc.)", u"sports magazines",
    u"football/soccer", u"tennis/squash", u"team sports (excluding football)", u"athletics", u"motor sport",
    u"water sport", u"winter sports", u"equestrian", u"martial sports", u"", u"", u"", u"",
    // 0x50
    u"children's/youth programmes (general)", u"pre-school children's programmes",
    u"entertainment programmes for 6 to 14", u"entertainment programmes for 10 to 16",
    u"informational/educational/school programmes", u"cartoons/puppets", u"", u"", u"", u"", u"", u"", u"",
    u"", u"", u"",
    // 0x60
    u"music/ballet/dance (general)", u"rock/pop", u"serious music/classical music", u"folk/traditional music",
    u"jazz", u"musical/opera", u"ballet", u"", u"", u"", u"", u"", u"", u"", u"", u"",
    // 0x70
    u"arts/culture (without music, general)", u"performing arts", u"fine arts", u"religion",
    u"popular culture/traditional arts", u"literature", u"film/cinema", u"experimental film/video",
    u"broadcasting/press", u"new media", u"arts/culture magazines", u"fashion", u"", u"", u"", u"",
    // 0x80
    u"social/political issues/economics (general)", u"magazines/reports/documentary",
    u"economics/social advisory", u"remarkable people", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"",
    u"",
    // 0x90
    u"education/science/factual topics (general)", u"nature/animals/environment",
    u"technology/natural sciences", u"medicine/physiology/psychology", u"foreign countries/expeditions",
    u"social/spiritual sciences", u"further education", u"languages", u"", u"", u"", u"", u"", u"", u"", u"",
    // 0xA0
    u"leisure hobbies (general)", u"tourism/travel", u"handicraft", u"motoring", u"fitness and health",
    u"cooking", u"gardening", u"", u"", u"", u"", u"", u"", u"", u"", u"",
    // 0xB0
    u"original language", u"black and white", u"unpublished", u"live broadcast", u"", u"", u"", u"", u"", u"",
    u"", u"", u"", u"", u"", u"",
};

// The guide's category of a content value: the level 1 nibble picks it, but movies (level 1 = 1)
// are told apart by sub-genre, taking the entries from "Movie" on.
int CategoryOf(uint32_t value)
{
    const uint32_t level1 = (value >> 4) & 0xF;
    const uint32_t level2 = value & 0xF;
    int c = 1;
    if (level1 >= 2 && level1 <= 10) {
        c = static_cast<int>(level1);
    } else if (level1 == 1) {
        static constexpr int kMovie[16] = {11, 11, 12, 13, 14, 15, 15, 15, 16, 1, 1, 1, 1, 1, 1, 1};
        c = kMovie[level2];
    }
    return c - 1;
}

} // namespace

std::u16string GetGenreText(uint32_t value, int* category)
{
    const int index = CategoryOf(value);
    if (category)
        *category = index;
    std::u16string text = kShortNames[index];
    if (value < 0xC0) {
        text += u" - ";
        text += kDescriptions[value];
    }
    return text;
}

} // namespace DVBPlaybackCore
