#include "tools/demo_game/demo_heroes.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "heroes/hero_record.h"
#include "heroes/value_tables.h"
#include "tools/demo_game/demo_rosters.h"

namespace qm::demo {

namespace {

struct RosterEntry {
  const char* keyword;
  const char* name;
  uint8_t sex;
  uint8_t hero_class;
  const char* biography;
};

constexpr uint8_t M = kSexMale;
constexpr uint8_t F = kSexFemale;

constexpr RosterEntry kRoster[kDemoRosterSize] = {
    {"Sylwen", "Sylwen Brightfletch", F, kClassArcher, "Raised among the birches of the Greywood, Sylwen can split a falling leaf at two hundred paces."},
    {"Corin", "Corin Ashbow", M, kClassArcher, "A poacher turned ranger, Corin knows every deer trail between the river and the hills."},
    {"Talia", "Talia Reedwind", F, kClassArcher, "Talia guards the marsh villages from her stilt tower and never misses twice."},
    {"Brannoc", "Brannoc Hawkeye", M, kClassArcher, "Brannoc lost an eye to a griffin and still out-shoots the whole border watch."},
    {"Elowen", "Elowen Thistledown", F, kClassArcher, "Elowen sings to her arrows before a battle; her foes rarely hear the end of the song."},
    {"Fenric", "Fenric Longshaft", M, kClassArcher, "Fenric carves his own bows from storm-felled yew and trades them for news."},
    {"Grusk", "Grusk Ironhide", M, kClassBarbarian, "Grusk wrestled a cave bear for its den and has slept there every winter since."},
    {"Hilda", "Hilda Stormbreaker", F, kClassBarbarian, "Hilda leads the northern clans into battle with a war cry heard across the fjords."},
    {"Torvald", "Torvald Skullsplitter", M, kClassBarbarian, "Torvald measures his fame in broken shields and keeps count on his belt."},
    {"Yrsa", "Yrsa Wolfmane", F, kClassBarbarian, "Yrsa runs with the grey wolves of the tundra and shares their hunts."},
    {"Bjarki", "Bjarki Stonefist", M, kClassBarbarian, "Bjarki once carried a siege ram up a mountain pass on his own back."},
    {"Magra", "Magra the Red", F, kClassBarbarian, "Magra's hair and temper are both the colour of the forge fire."},
    {"Aldric", "Sir Aldric Valemont", M, kClassKnight, "Sir Aldric has held the Valemont bridge against three armies and one dragon."},
    {"Isolde", "Dame Isolde Brightshield", F, kClassKnight, "Dame Isolde polishes her shield until it blinds the foe at dawn."},
    {"Gareth", "Sir Gareth Oakheart", M, kClassKnight, "Sir Gareth swore to protect the weak and keeps the oath even when it costs him."},
    {"Rowena", "Dame Rowena Falk", F, kClassKnight, "Dame Rowena rides a grey charger named Patience, who has very little of it."},
    {"Percival", "Sir Percival Thorne", M, kClassKnight, "Sir Percival seeks a relic no one else believes in, and finds battles on the way."},
    {"Elaine", "Dame Elaine Stormcrest", F, kClassKnight, "Dame Elaine trained the palace guard and still spars with each recruit herself."},
    {"Anselm", "Brother Anselm", M, kClassPriest, "Brother Anselm tends the wounded of both sides and asks nothing in return."},
    {"Mirelle", "Sister Mirelle", F, kClassPriest, "Sister Mirelle's hymns are said to mend broken bones and broken hearts alike."},
    {"Osric", "Father Osric Lumen", M, kClassPriest, "Father Osric lights the beacon of the high chapel every night of the year."},
    {"Celestine", "Mother Celestine", F, kClassPriest, "Mother Celestine founded an abbey on the ruins of a demon's lair."},
    {"Aurelia", "Aurelia Dawnsong", F, kClassPriest, "Aurelia greets each sunrise with a prayer, and the sun has never failed her."},
    {"Oakwyn", "Oakwyn Mossbeard", M, kClassDruid, "Oakwyn is older than the oldest oak in his grove, and the oak agrees."},
    {"Briallen", "Briallen Fernshade", F, kClassDruid, "Briallen speaks with foxes and owls and trusts them more than kings."},
    {"Rhodri", "Rhodri Barkskin", M, kClassDruid, "Rhodri's skin hardens like bark when danger is near."},
    {"Nerys", "Nerys Willowmere", F, kClassDruid, "Nerys keeps the sacred spring and knows the name of every stream that feeds it."},
    {"Gwydion", "Gwydion Greenleaf", M, kClassDruid, "Gwydion plants a tree for every life lost in battle; his forest grows quickly."},
    {"Quentin", "Magister Quentin Vale", M, kClassMage, "Magister Quentin catalogued four thousand spells and forgot only three."},
    {"Seraphine", "Seraphine Astrel", F, kClassMage, "Seraphine reads the stars for the academy and sometimes rearranges them."},
    {"Ulric", "Ulric Glasswright", M, kClassMage, "Ulric builds golems of crystal and names each one after a former student."},
    {"Ottilie", "Ottilie Runebinder", F, kClassMage, "Ottilie inscribes wards so fine that they can only be read with a lens."},
    {"Cassius", "Cassius Inkwell", M, kClassMage, "Cassius writes his spells in an ink that moves when nobody is looking."},
    {"Lysandra", "Lysandra Quill", F, kClassMage, "Lysandra won the academy's duel of wits at the age of twelve."},
    {"Edmund", "Lord Edmund Harrowgate", M, kClassLord, "Lord Edmund rules his lands with a ledger in one hand and a sword in the other."},
    {"Vivienne", "Lady Vivienne Marchbank", F, kClassLord, "Lady Vivienne has never lost an argument, a tournament or a tax dispute."},
    {"Roderick", "Lord Roderick Stallworth", M, kClassLord, "Lord Roderick raised a city from a fishing village within a single generation."},
    {"Catriona", "Lady Catriona Vell", F, kClassLord, "Lady Catriona keeps a spy in every court and a friend in most of them."},
    {"Hugo", "Baron Hugo Ashcombe", M, kClassLord, "Baron Hugo collects maps of lands he intends to own."},
    {"Morvath", "Morvath the Pale", M, kClassNecromancer, "Morvath has not seen daylight in a century and does not miss it."},
    {"Sabine", "Sabine Gravesend", F, kClassNecromancer, "Sabine keeps a library of last words, each bottled and labelled."},
    {"Vortigern", "Vortigern Ashgrave", M, kClassNecromancer, "Vortigern raised his first skeleton at nine; it still follows him around."},
    {"Lenore", "Lenore Nightwhisper", F, kClassNecromancer, "Lenore hears the dead speak and writes down their secrets."},
    {"Kelvar", "Kelvar Bonechant", M, kClassNecromancer, "Kelvar's chants rattle the bones of every graveyard he passes."},
    {"Zarina", "Zarina Emberveil", F, kClassSorcerer, "Zarina draws fire from the air as easily as others draw breath."},
    {"Xerxan", "Xerxan Flamecaller", M, kClassSorcerer, "Xerxan burned down his own tower twice and rebuilt it taller each time."},
    {"Ixara", "Ixara Voidspark", F, kClassSorcerer, "Ixara studies the spaces between the stars and brings back strange lights."},
    {"Malzor", "Malzor the Bright", M, kClassSorcerer, "Malzor's eyes glow in the dark, which makes him a poor thief but a fine sorcerer."},
    {"Pyria", "Pyria Cindermoon", F, kClassSorcerer, "Pyria tamed a salamander as a child and has kept it warm ever since."},
    {"Draven", "Draven Hexfire", M, kClassSorcerer, "Draven bargains with spirits and always reads the small print."},
    {"Nim", "Nim Quickfingers", M, kClassThief, "Nim once stole the crown of a sleeping king and returned it as a joke."},
    {"Vesper", "Vesper Shade", F, kClassThief, "Vesper moves like dusk itself; guards remember only a cold draught."},
    {"Rook", "Rook Blackwell", M, kClassThief, "Rook runs the smugglers' tunnels under three rival cities."},
    {"Mira", "Mira Silkstep", F, kClassThief, "Mira can cross a hall of sleeping hounds without waking one."},
    {"Jaspar", "Jaspar Lockjaw", M, kClassThief, "Jaspar has opened every lock he ever met, save the one on his own heart."},
    {"Malrec", "Sir Malrec the Fallen", M, kClassDeathKnight, "Sir Malrec broke his oath in life and serves a darker one in death."},
    {"Morgause", "Dame Morgause Grimm", F, kClassDeathKnight, "Dame Morgause rides a horse of bone that never tires."},
    {"Kragor", "Kragor Dreadhelm", M, kClassDeathKnight, "Kragor's helm has not been lifted since the day he was buried in it."},
    {"Ysolde", "Ysolde the Hollow", F, kClassDeathKnight, "Ysolde feels no pain and no mercy, and misses neither."},
    {"Varrak", "Varrak Soulrender", M, kClassDeathKnight, "Varrak's blade drinks the courage of all who face it."},
};

constexpr const char* kFirstSyllables[] = {"Al", "Bel", "Cor", "Dar", "El", "Fen", "Gor", "Hal", "Is", "Jor",
                                           "Kel", "Lor", "Mor", "Nor", "Or", "Per", "Quin", "Ros", "Sel", "Tor"};
constexpr const char* kSecondSyllables[] = {"adan", "bric", "cia", "dris", "en", "fyn", "gar", "helm",
                                            "ia", "ric", "wen", "tha", "mund", "ora", "vin", "ys"};
constexpr const char* kDeeds[] = {
    "guards a mountain pass that no map shows.", "sailed beyond the edge of the known sea and came back.",
    "was raised by travelling players and still loves an audience.", "keeps a journal of every battle, in verse.",
    "defends the small towns that larger armies forget.", "seeks the lost library of the old empire."};

uint32_t LookFor(size_t index) {
  // A fixed scramble, so neighbouring heroes look unalike.
  uint32_t x = static_cast<uint32_t>(index) * 2654435761u + 0x9E3779B9u;
  x ^= x >> 15;
  x *= 0x2C1B3C6Du;
  x ^= x >> 12;
  return x;
}

const GeneratedTexts kEnglishGenerated = {kFirstSyllables,  std::size(kFirstSyllables),
                                          kSecondSyllables, std::size(kSecondSyllables),
                                          kDeeds,           std::size(kDeeds)};

DemoHero GeneratedHero(size_t index, const GeneratedTexts& texts) {
  DemoHero hero;
  const size_t n = index + 1;
  char keyword[16];
  std::snprintf(keyword, sizeof keyword, "demo%04zu", n);
  hero.keyword = keyword;
  const uint32_t look = LookFor(index);
  hero.name = std::string(texts.first_syllables[look % texts.first_count]) +
              texts.second_syllables[(look >> 8) % texts.second_count] + " " + std::to_string(n);
  hero.sex = (index % 2) ? kSexFemale : kSexMale;
  hero.hero_class = static_cast<uint8_t>(kClassArcher + index % 11);
  hero.biography = hero.name + " " + texts.deeds[(look >> 16) % texts.deed_count];
  hero.allowed = index % 9 != 4;
  hero.look = look;
  return hero;
}

}  // namespace

std::vector<DemoHero> DemoHeroes(size_t count, DemoLanguage language) {
  count = std::min(count, kMaxHeroRecords - kFirstHeroRecord);
  const RosterTexts* translated = language == DemoLanguage::kRussian  ? kRussianRoster
                                  : language == DemoLanguage::kPolish ? kPolishRoster
                                                                      : nullptr;
  const GeneratedTexts& generated = language == DemoLanguage::kRussian  ? kRussianGenerated
                                    : language == DemoLanguage::kPolish ? kPolishGenerated
                                                                        : kEnglishGenerated;
  std::vector<DemoHero> heroes;
  heroes.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (i < kDemoRosterSize) {
      const RosterEntry& e = kRoster[i];
      DemoHero hero;
      hero.keyword = e.keyword;
      hero.name = translated ? translated[i].name : e.name;
      hero.biography = translated ? translated[i].biography : e.biography;
      hero.sex = e.sex;
      hero.hero_class = e.hero_class;
      hero.allowed = i % 7 != 3;  // a few heroes the map maker must allow by hand
      hero.look = LookFor(i);
      heroes.push_back(std::move(hero));
    } else {
      heroes.push_back(GeneratedHero(i, generated));
    }
  }
  return heroes;
}

}  // namespace qm::demo
