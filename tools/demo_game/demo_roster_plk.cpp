// The demo roster in Polish, for a demo game in code page 1250.
#include <iterator>

#include "tools/demo_game/demo_rosters.h"

namespace qm::demo {

const RosterTexts kPolishRoster[kDemoRosterSize] = {
    {"Sylwena Jasnopióra", "Wychowana wśród brzóz Szarego Boru, Sylwena rozszczepia spadający liść z dwustu kroków."},
    {"Korin Jesionowy Łuk",
     "Kłusownik, który został tropicielem – Korin zna każdą jelenią ścieżkę między rzeką a wzgórzami."},
    {"Talia Trzcinowy Wiatr", "Talia strzeże bagiennych wiosek ze swojej wieży na palach i nigdy nie chybia dwa razy."},
    {"Brannok Jastrzębie Oko",
     "Brannok stracił oko w walce z gryfem, a mimo to strzela lepiej niż cała straż graniczna."},
    {"Elowen Ostowy Puch", "Przed bitwą Elowen śpiewa swoim strzałom; jej wrogowie rzadko słyszą koniec pieśni."},
    {"Fenryk Długie Drzewce", "Fenryk sam rzeźbi łuki z cisów powalonych przez burzę i wymienia je na wieści."},
    {"Grusk Żelazna Skóra",
     "Grusk w zapasach odebrał niedźwiedziowi jaskiniowemu gawrę i od tamtej pory przesypia w niej każdą zimę."},
    {"Hilda Łamaczka Burz", "Hilda prowadzi północne klany do boju z okrzykiem, który słychać we wszystkich fiordach."},
    {"Torwald Łupacz Czaszek", "Torwald mierzy swoją sławę w roztrzaskanych tarczach i liczy je nacięciami na pasie."},
    {"Yrsa Wilcza Grzywa", "Yrsa biega z szarymi wilkami tundry i dzieli z nimi łowy."},
    {"Bjarki Kamienna Pięść", "Bjarki wniósł kiedyś na własnych plecach taran oblężniczy na górską przełęcz."},
    {"Magra Ruda", "Włosy i temperament Magry mają ten sam kolor – kolor ognia w kuźni."},
    {"Sir Aldryk z Valemont", "Sir Aldryk utrzymał most w Valemont przeciwko trzem armiom i jednemu smokowi."},
    {"Dama Izolda Jasna Tarcza", "Dama Izolda poleruje tarczę tak długo, aż o świcie oślepia nią wroga."},
    {"Sir Gareth Dębowe Serce",
     "Sir Gareth przysiągł bronić słabszych i dotrzymuje przysięgi, nawet gdy drogo go to kosztuje."},
    {"Dama Rowena Falk",
     "Dama Rowena dosiada siwego rumaka imieniem Cierpliwość, choć akurat cierpliwości ma on niewiele."},
    {"Sir Percival Thorne", "Sir Percival szuka relikwii, w którą nikt inny nie wierzy, a po drodze znajduje bitwy."},
    {"Dama Elaine Burzogrzywa",
     "Dama Elaine wyszkoliła straż pałacową i wciąż sama staje do sparingu z każdym rekrutem."},
    {"Brat Anzelm", "Brat Anzelm opatruje rannych obu stron i nie prosi o nic w zamian."},
    {"Siostra Mirela", "Podobno hymny siostry Mireli zrastają zarówno złamane kości, jak i złamane serca."},
    {"Ojciec Ozryk Lumen", "Ojciec Ozryk co noc, przez cały rok, zapala latarnię na wysokiej kaplicy."},
    {"Matka Celestyna", "Matka Celestyna założyła opactwo na ruinach legowiska demona."},
    {"Aurelia Pieśń Świtu", "Aurelia wita każdy wschód słońca modlitwą, a słońce jeszcze nigdy jej nie zawiodło."},
    {"Okwin Mszysta Broda", "Okwin jest starszy niż najstarszy dąb w jego gaju, a dąb się z tym zgadza."},
    {"Briallen Paprociany Cień", "Briallen rozmawia z lisami i sowami i ufa im bardziej niż królom."},
    {"Rhodri Korowiec", "Gdy zbliża się niebezpieczeństwo, skóra Rhodriego twardnieje jak kora."},
    {"Nerys Wierzbowe Jezioro", "Nerys strzeże świętego źródła i zna imię każdego strumienia, który je zasila."},
    {"Gwidion Zielony Liść", "Gwidion sadzi drzewo za każde życie stracone w bitwie; jego las rośnie szybko."},
    {"Magister Kwintyn Vale", "Magister Kwintyn skatalogował cztery tysiące zaklęć i zapomniał tylko trzy."},
    {"Serafina Astrel", "Serafina odczytuje gwiazdy dla akademii, a czasem je przestawia."},
    {"Ulryk Szklarz", "Ulryk buduje kryształowe golemy i nadaje każdemu imię któregoś z dawnych uczniów."},
    {"Otylia Wiązaczka Run", "Otylia ryje znaki ochronne tak drobne, że można je odczytać tylko przez soczewkę."},
    {"Kasjusz Kałamarz", "Kasjusz pisze zaklęcia atramentem, który się porusza, gdy nikt nie patrzy."},
    {"Lizandra Pióro", "Lizandra wygrała akademicki pojedynek na rozumy, mając dwanaście lat."},
    {"Lord Edmund Harrowgate",
     "Lord Edmund rządzi swoimi ziemiami z księgą rachunkową w jednej ręce i mieczem w drugiej."},
    {"Lady Wiwiana Marchbank", "Lady Wiwiana nigdy nie przegrała sporu, turnieju ani sprawy o podatki."},
    {"Lord Roderyk Stallworth", "Lord Roderyk w ciągu jednego pokolenia zamienił wioskę rybacką w miasto."},
    {"Lady Katriona Vell", "Lady Katriona ma szpiega na każdym dworze i przyjaciela na większości z nich."},
    {"Baron Hugo Ashcombe", "Baron Hugo kolekcjonuje mapy ziem, które zamierza posiąść."},
    {"Morwat Blady", "Morwat nie widział światła dnia od stu lat i wcale za nim nie tęskni."},
    {"Sabina Grabarka", "Sabina prowadzi bibliotekę ostatnich słów, każde zamknięte w butelce i opisane."},
    {"Wortigern Popielny Grób",
     "Wortigern wskrzesił swój pierwszy szkielet w wieku dziewięciu lat; ten wciąż za nim chodzi."},
    {"Lenora Nocny Szept", "Lenora słyszy, jak mówią umarli, i spisuje ich sekrety."},
    {"Kelwar Kościany Zaśpiew", "Od zaśpiewów Kelwara grzechoczą kości na każdym cmentarzu, obok którego przechodzi."},
    {"Zaryna Żarowy Welon", "Zaryna czerpie ogień z powietrza tak łatwo, jak inni nabierają tchu."},
    {"Kserksan Przywoływacz Płomieni",
     "Kserksan dwukrotnie spalił własną wieżę i za każdym razem odbudowywał ją wyższą."},
    {"Iksara Iskra Pustki", "Iksara bada przestrzeń między gwiazdami i przynosi stamtąd dziwne światła."},
    {"Malzor Jasny", "Oczy Malzora świecą w ciemności, przez co jest kiepskim złodziejem, ale świetnym czarownikiem."},
    {"Piria Popielny Księżyc",
     "Piria oswoiła salamandrę jeszcze jako dziecko i od tamtej pory dba, by było jej ciepło."},
    {"Draven Czarci Ogień", "Draven zawiera układy z duchami i zawsze czyta drobny druk."},
    {"Nim Zwinne Palce", "Nim ukradł kiedyś koronę śpiącemu królowi, a potem oddał ją dla żartu."},
    {"Vesper Cień", "Vesper porusza się jak sam zmierzch; strażnicy pamiętają tylko zimny przeciąg."},
    {"Gawron Blackwell", "Gawron rządzi przemytniczymi tunelami pod trzema zwaśnionymi miastami."},
    {"Mira Jedwabny Krok", "Mira przejdzie przez salę pełną śpiących ogarów i nie obudzi żadnego."},
    {"Jaspar Żelazna Szczęka", "Jaspar otworzył każdy zamek, jaki napotkał, z wyjątkiem tego na własnym sercu."},
    {"Sir Malrek Upadły",
     "Sir Malrek złamał przysięgę za życia, a po śmierci służy przysiędze znacznie mroczniejszej."},
    {"Dama Morgauza Grimm", "Dama Morgauza dosiada kościanego konia, który nigdy się nie męczy."},
    {"Kragor Straszliwy Hełm", "Hełmu Kragora nikt nie zdjął od dnia, w którym go w nim pochowano."},
    {"Izolda Pusta", "Izolda nie czuje bólu ani litości i nie tęskni ani za jednym, ani za drugim."},
    {"Warrak Rozdzieracz Dusz", "Ostrze Warraka wypija odwagę każdego, kto stanie naprzeciw niego."},
};

namespace {

constexpr const char* kFirst[] = {"Al",  "Bel", "Kor", "Dar", "El", "Fen", "Gor",  "Hal", "Is",  "Jor",
                                  "Kel", "Lor", "Mor", "Nor", "Or", "Per", "Kwin", "Ros", "Sel", "Tor"};
constexpr const char* kSecond[] = {"adan", "bryk", "cja", "dris", "en",   "fyn", "gar", "sław",
                                   "ian",  "ryk",  "wen", "ta",   "mund", "ora", "win", "ys"};
constexpr const char* kDeeds[] = {
    "strzeże górskiej przełęczy, której nie ma na żadnej mapie.",    "żegluje poza krawędź znanego morza.",
    "od dziecka wędruje z trupą aktorów i wciąż kocha publiczność.", "prowadzi kronikę każdej bitwy – wierszem.",
    "broni małych miasteczek, o których zapominają wielkie armie.",  "szuka zaginionej biblioteki dawnego cesarstwa."};

}  // namespace

const GeneratedTexts kPolishGenerated = {kFirst, std::size(kFirst), kSecond, std::size(kSecond),
                                         kDeeds, std::size(kDeeds)};

}  // namespace qm::demo
