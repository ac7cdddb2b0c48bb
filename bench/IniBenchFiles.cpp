#include "IniBenchFiles.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>

namespace inibench {
namespace {

struct TextEntry {
  const char* key;
  std::array<const char*, 4> text;  // Eng, Rus, Deu, Fra
};

constexpr std::array<const char*, 4> kLanguages = {"Eng", "Rus", "Deu", "Fra"};

// Grouped as in the file; a null key starts a comment line there instead.
const TextEntry kTexts[] = {
    {nullptr, {"; Buttons"}},
    {"bbRun", {"Play", "Играть", "Spielen", "Jouer"}},
    {"bbSetup", {"Settings", "Настройки", "Einstellungen", "Paramètres"}},
    {"bbReadme", {"Read me", "Прочти меня", "Liesmich", "Lisez-moi"}},
    {"bbWebsite", {"Official website", "Официальный сайт", "Offizielle Website", "Site officiel"}},
    {"bbUninstall", {"Uninstall", "Удалить игру", "Deinstallieren", "Désinstaller"}},
    {"bbExit", {"Exit", "Выход", "Beenden", "Quitter"}},
    {nullptr, {"; Check boxes"}},
    {"cbWindow", {"Run in a window", "Запускать в окне", "Im Fenster starten", "Lancer en mode fenêtré"}},
    {"cbVSync",
     {"Vertical synchronisation", "Вертикальная синхронизация", "Vertikale Synchronisation",
      "Synchronisation verticale"}},
    {"cbSound", {"Sound effects", "Звуковые эффекты", "Soundeffekte", "Effets sonores"}},
    {"cbMusic", {"Music", "Музыка", "Musik", "Musique"}},
    {"cbSubtitles", {"Show subtitles", "Показывать субтитры", "Untertitel anzeigen", "Afficher les sous-titres"}},
    {nullptr, {"; Labels"}},
    {"lbTitle",
     {"Welcome, commander!", "Добро пожаловать, командир!", "Willkommen, Kommandant!", "Bienvenue, commandant !"}},
    {"lbResolution",
     {"Screen resolution:", "Разрешение экрана:", "Bildschirmauflösung:", "Résolution de l'écran :"}},
    {"lbLanguage", {"Language:", "Язык:", "Sprache:", "Langue :"}},
    {"lbQuality", {"Graphics quality:", "Качество графики:", "Grafikqualität:", "Qualité graphique :"}},
    {nullptr, {"; Messages"}},
    {"Msg_NoSound",
     {"No sound device was found. The game will run without sound.",
      "Звуковое устройство не найдено. Игра будет запущена без звука.",
      "Es wurde kein Audiogerät gefunden. Das Spiel läuft ohne Ton.",
      "Aucun périphérique audio n'a été trouvé. Le jeu sera lancé sans son."}},
    {"Msg_NoVideo",
     {"The video card does not support the selected resolution.",
      "Видеокарта не поддерживает выбранное разрешение.",
      "Die Grafikkarte unterstützt die gewählte Auflösung nicht.",
      "La carte graphique ne prend pas en charge la résolution choisie."}},
    {"Msg_OldDriver",
     {"Your video driver is out of date. Please install a newer one.",
      "Драйвер видеокарты устарел. Пожалуйста, установите более новый.",
      "Ihr Grafiktreiber ist veraltet. Bitte installieren Sie einen neueren.",
      "Votre pilote graphique est obsolète. Veuillez en installer un plus récent."}},
    {"Msg_DiskFull",
     {"Not enough free disk space to save the game.",
      "Недостаточно свободного места на диске для сохранения игры.",
      "Nicht genügend freier Speicherplatz, um das Spiel zu speichern.",
      "Espace disque insuffisant pour sauvegarder la partie."}},
    {"Msg_SaveFailed",
     {"The settings could not be saved.", "Не удалось сохранить настройки.",
      "Die Einstellungen konnten nicht gespeichert werden.", "Impossible d'enregistrer les paramètres."}},
    {"Msg_AlreadyRunning",
     {"The game is already running.", "Игра уже запущена.", "Das Spiel läuft bereits.",
      "Le jeu est déjà en cours d'exécution."}},
    {"Msg_NoConfig",
     {"The configuration file is missing, default settings will be used.",
      "Файл настроек не найден, будут использованы настройки по умолчанию.",
      "Die Konfigurationsdatei fehlt, es werden die Standardeinstellungen verwendet.",
      "Le fichier de configuration est introuvable, les paramètres par défaut seront utilisés."}},
    {"Msg_LowMemory",
     {"Not enough memory. Close other programs and try again.",
      "Недостаточно памяти. Закройте другие программы и попробуйте снова.",
      "Nicht genügend Arbeitsspeicher. Schließen Sie andere Programme und versuchen Sie es erneut.",
      "Mémoire insuffisante. Fermez les autres programmes et réessayez."}},
    {"Msg_RestartNeeded",
     {"The changes take effect after the game is restarted.", "Изменения вступят в силу после перезапуска игры.",
      "Die Änderungen werden nach einem Neustart des Spiels wirksam.",
      "Les modifications prendront effet après le redémarrage du jeu."}},
    {"Msg_NoDisc",
     {"Please insert the game disc.", "Пожалуйста, вставьте диск с игрой.", "Bitte legen Sie die Spiel-CD ein.",
      "Veuillez insérer le disque du jeu."}},
};

// splitmix64: a fixed sequence, whatever the standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

void AppendNumber(std::string& out, unsigned value, int width) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*u", width, value);
  out += digits;
}

}  // namespace

std::string TextsIniContent() {
  std::string out;
  out += "; Texts of the launcher window, one line per text and language.\r\n";
  out += "; Languages: Eng, Rus, Deu, Fra. UTF-8 without byte order mark.\r\n";
  out += "\r\n";
  out += "[Info]\r\n";
  out += "Version=1.4.2\r\n";
  out += "Languages=Eng,Rus,Deu,Fra\r\n";
  out += "Default=Eng\r\n";
  out += "\r\n";
  out += "[Launcher]\r\n";
  for (const TextEntry& entry : kTexts) {
    if (!entry.key) {
      out += "\r\n";
      out += entry.text[0];
      out += "\r\n";
      continue;
    }
    for (std::size_t lang = 0; lang < kLanguages.size(); ++lang) {
      out += entry.key;
      out += '_';
      out += kLanguages[lang];
      out += '=';
      out += entry.text[lang];
      out += "\r\n";
    }
  }
  return out;
}

const std::vector<std::string>& TextsKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> k;
    for (const char* lang : kLanguages) {
      for (const TextEntry& entry : kTexts) {
        if (entry.key) k.push_back(std::string(entry.key) + "_" + lang);
      }
    }
    return k;
  }();
  return keys;
}

std::string BigIniContent() {
  static const char* const kWords[] = {
      "alpha", "bravo", "charlie", "delta", "echo",  "foxtrot", "golf",  "hotel", "india", "juliet",
      "kilo",  "lima",  "mike",    "north", "oscar", "papa",    "quartz", "river", "sierra", "tango",
      "umbra", "vault", "whisky",  "xenon", "yard",  "zulu",    "0.25",  "1024",  "-17",   "65535"};
  constexpr std::uint32_t kWordCount = sizeof kWords / sizeof kWords[0];

  Random random(20240611);
  std::string out;
  out.reserve(52u << 20);
  out += "; Generated for ini_bench.\r\n";
  for (int s = 0; s < kBigSections; ++s) {
    out += "[Section_";
    AppendNumber(out, static_cast<unsigned>(s), 3);
    out += "]\r\n";
    for (int k = 0; k < kBigKeysPerSection; ++k) {
      out += "Key_";
      AppendNumber(out, static_cast<unsigned>(k), 4);
      out += '=';
      // 60 to 120 bytes of words, numbers and commas.
      const std::size_t valueStart = out.size();
      const std::size_t length = 60 + random.Below(61);
      while (out.size() - valueStart < length) {
        if (out.size() != valueStart) out += random.Below(4) == 0 ? ", " : " ";
        out += kWords[random.Below(kWordCount)];
      }
      out.resize(valueStart + length);
      while (out.back() == ' ' || out.back() == ',') out.pop_back();
      out += "\r\n";
    }
  }
  return out;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ini_bench.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  native_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(native_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& content) const {
  const std::string path = native_ + "/" + name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!file.flush()) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string EnginePath(std::string nativePath) {
  std::replace(nativePath.begin(), nativePath.end(), '/', '\\');
  return nativePath;
}

}  // namespace inibench
