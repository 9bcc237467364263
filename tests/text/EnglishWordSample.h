#pragma once
// A deterministic sample of English words for hyphenation tests and the
// benchmark: common words of lyrics and prose, with inflected forms, a few
// capitalised, drawn in a fixed pseudo-random order.
#include <cstdint>
#include <string>
#include <vector>

namespace versilla::text::testing {

inline const std::vector<std::string>& englishBaseWords() {
    static const std::vector<std::string> words = {
        "the", "and", "love", "heart", "night", "dream", "forever", "together", "beautiful", "yesterday",
        "tomorrow", "remember", "everything", "nothing", "something", "somebody", "nobody", "everybody",
        "believe", "wonderful", "imagine", "dancing", "singing", "morning", "evening", "river", "mountain",
        "ocean", "happiness", "sorrow", "whisper", "thunder", "lightning", "shadow", "window", "country",
        "freedom", "memory", "memories", "understand", "understanding", "together", "alone", "lonely",
        "loneliness", "silence", "silent", "desire", "fire", "water", "people", "children", "mother",
        "father", "brother", "sister", "family", "friendship", "believer", "Christmas", "December",
        "September", "November", "October", "January", "February", "holiday", "celebration", "paradise",
        "heaven", "angel", "wonder", "wander", "travel", "traveller", "journey", "highway", "railroad",
        "station", "information", "communication", "organization", "international", "independence",
        "responsibility", "possibility", "opportunity", "probability", "development", "environment",
        "government", "management", "experience", "difference", "important", "interesting", "different",
        "continue", "consider", "develop", "discover", "explain", "language", "question", "answer",
        "problem", "solution", "example", "exercise", "history", "mystery", "victory", "factory", "story",
        "glory", "sorry", "hurry", "pretty", "beauty", "duty", "city", "pity", "party", "empty", "easy",
        "crazy", "lazy", "baby", "maybe", "lady", "body", "melody", "harmony", "symphony", "orchestra",
        "guitar", "piano", "trumpet", "violin", "drummer", "singer", "rhythm", "music", "musical",
        "musician", "karaoke", "microphone", "computer", "keyboard", "algorithm", "hyphenation",
        "concatenation", "dictionary", "corner", "former", "chilling", "table", "present", "project",
        "associate", "declination", "obligatory", "philanthropic", "reciprocity", "recognizance",
        "reformation", "retribution", "sunshine", "moonlight", "starlight", "rainbow", "butterfly",
        "flower", "garden", "summer", "winter", "autumn", "spring", "weather", "feather", "leather",
        "whatever", "however", "whenever", "wherever", "forgotten", "broken", "spoken", "chosen", "frozen",
        "golden", "hidden", "written", "bitten", "kitten", "mitten", "sitting", "getting", "letting",
        "running", "coming", "going", "feeling", "meaning", "waiting", "calling", "falling", "crying",
        "trying", "flying", "dying", "lying", "smiling", "shining", "rising", "burning", "turning",
        "learning", "yearning", "longing", "belonging", "everlasting", "unbelievable", "incredible",
        "impossible", "invisible", "irresistible", "unforgettable", "extraordinary", "revolution",
        "generation", "situation", "education", "imagination", "destination", "temptation", "sensation",
        "emotion", "devotion", "ocean", "motion", "potion", "nation", "creation", "tradition", "position",
        "attention", "intention", "direction", "connection", "protection", "perfection", "reflection",
        "affection", "satisfaction", "attraction", "distraction", "reaction", "action", "fiction",
        "mission", "passion", "fashion", "vision", "decision", "television", "telephone", "photograph",
        "photography", "biography", "geography", "philosophy", "psychology", "technology", "biology",
        "astronomy", "economy", "democracy", "policy", "agency", "emergency", "frequency", "tendency",
        "Hallelujah", "Alabama", "California", "America", "Amsterdam", "London", "Madison", "Washington"};
    return words;
}

/// `count` words: base words, some with an English ending and some capitalised,
/// picked in a fixed pseudo-random order (same list on every run).
inline std::vector<std::string> englishWordSample(std::size_t count) {
    static const char* const endings[] = {"", "", "", "", "s", "ed", "ing", "ly", "ness", "er", "est", "ful"};
    const auto& base = englishBaseWords();
    std::vector<std::string> out;
    out.reserve(count);
    std::uint32_t state = 0x2545F491u;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (std::size_t i = 0; i < count; ++i) {
        std::string w = base[next() % base.size()];
        w += endings[next() % (sizeof endings / sizeof endings[0])];
        if (next() % 8 == 0 && w[0] >= 'a' && w[0] <= 'z')
            w[0] = static_cast<char>(w[0] - 'a' + 'A');
        out.push_back(std::move(w));
    }
    return out;
}

} // namespace versilla::text::testing
