#include "console/ConsoleApp.h"

#include <pwd.h>
#include <unistd.h>

#include <ostream>

#include "console/ConsolePorts.h"
#include "console/FaceJson.h"
#include "console/FaceText.h"
#include "console/SheetPictures.h"
#include "native/FileSettingsStore.h"
#include "native/JpegPictureDecoder.h"
#include "native/MemoryRegistry.h"
#include "native/NativeClock.h"
#include "native/NativeEnvironment.h"
#include "native/NativeFileSystem.h"
#include "native/NativeLocale.h"
#include "native/SocketHttpTransport.h"
#include "platform/SettingsKeys.h"
#include "satellite/frmPic.h"
#include "service/KeylessSource.h"
#include "service/mUTF8toWIN.h"
#include "settings/frmSet.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "system/mExeName.h"
#include "system/mRegistry2.h"
#include "update/mProgVer.h"
#include "widget/frmMain.h"

namespace {

constexpr Colour kTitleDone = 0x80FF80;  // the refresh's final status colour

// Where GetLanguage looks first, as on Windows: the user's regional format, here LC_TIME's
// locale, which also gives the day names shown beside the service's texts.
void PutLanguage(RegistryPort& registry, Environment& environment) {
    const std::string tag = LanguageTag(LocaleNameFor(environment, "LC_TIME"));
    if (!tag.empty()) Registry(registry, "HKCU\\Control Panel\\International\\LocaleName", UTF8toWIN(tag));
}

void PrintError(std::ostream& err, const std::string& text) { err << WINtoUTF8(text) << '\n'; }

// The dialog's search for the text: the places numbered from 1, or the chosen one stored and
// refreshed. A search that fails or finds nothing prints the title line's report as an error.
int SearchPlace(frmMain& main, frmSet& set, const ConsoleOptions& options, std::ostream& out, std::ostream& err) {
    set.tSearchText = options.searchText;
    set.cSearch_Click();
    if (set.coLocList.empty()) {
        PrintError(err, main.lTitle[0].Caption);
        return kExitError;
    }
    if (options.choose == 0) {
        for (std::size_t i = 0; i < set.coLocList.size(); ++i)
            out << i + 1 << ". " << WINtoUTF8(set.coLocList[i]) << '\n';
        return kExitWeather;
    }
    if (static_cast<std::size_t>(options.choose) > set.coLocList.size()) {
        PrintError(err, Cat("FEHLER:  Es gibt nur ", std::to_string(set.coLocList.size()), " gefundene Orte."));
        return kExitUsage;
    }
    set.coLocListIndex = options.choose - 1;
    set.coLoc_Click();
    set.SaveSetPlace();
    set.cChk_Click();
    return kExitWeather;
}

}  // namespace

std::filesystem::path DefaultSettingsFile(Environment& environment) {
    const std::filesystem::path config = environment.Variable("XDG_CONFIG_HOME");
    if (config.is_absolute()) return config / "wolkenglas" / "settings.ini";
    std::string home = environment.Variable("HOME");
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) home = user->pw_dir;
    }
    if (home.empty()) return {};
    return std::filesystem::path(home) / ".config" / "wolkenglas" / "settings.ini";
}

int RunConsole(const ConsoleOptions& options, std::ostream& out, std::ostream& err) {
    NativeEnvironment environment;
    const std::filesystem::path file =
        options.settingsFile.empty() ? DefaultSettingsFile(environment) : std::filesystem::path(options.settingsFile);
    if (file.empty()) {
        PrintError(err, "FEHLER:  Kein Ordner für die Einstellungen: HOME ist nicht gesetzt.");
        return kExitError;
    }
    FileSettingsStore settings(file, kSettingsApp, kSettingsSection);
    // A console run neither registers itself for the Windows start nor replaces a Windows program
    // file; --set may still ask for either.
    settings.Override(key::RunAtStartup, "0");
    settings.Override(key::Update, "0");
    for (const auto& [name, value] : options.overrides) settings.Override(name, value);
    // A search neither refreshes the stored place first nor forgets it unless a place is chosen.
    if (options.search) settings.Override(key::LocationKey, "");

    ConsoleSystem system(err);
    NativeFileSystem files;
    ConsoleDisplay display;
    MemoryRegistry registry;
    PutLanguage(registry, environment);
    Ports ports{settings, system, files, display, registry};
    HeadlessWindow mainView, setView, picView;
    frmMain main(ports, mainView);
    frmSet set(ports, setView, main);
    frmPic pic(picView, main);
    main.Attach(set, pic);

    SocketHttpTransport http;
    // The weather comes from the service or the keyless source, as the hidden keys choose.
    KeylessSource transport(http, settings);
    NativeClock clock;
    NativeLocale locale(LocaleNameFor(environment, "LC_NUMERIC"), LocaleNameFor(environment, "LC_TIME"));
    ConsoleTray tray;
    JpegPictureDecoder pictures;
    InlineTaskRunner tasks;
    ServicePorts services{transport, environment, registry, clock, locale, tray, pictures, tasks};
    set.AttachServices(services);

    // The widget's start sequence is not run: a single instance, the manifest, the display
    // scaling and the window position mean nothing here. The face is built as it builds it.
    main.SetIdentity();
    main.EN = ExePath(system);
    main.TWX = display.TwipsPerPixelX();
    main.TWY = display.TwipsPerPixelY();
    main.SetTitle(main.MC);
    main.M2 = main.TitleTooltip(ProgVer(system));
    main.lTitle[0].ToolTipText = main.M2;
    main.DockOn = 8;
    main.InitPics();
    main.PicTray.exists = true;
    main.ClearLabels();
    LoadSheetPictures(main);

    set.Form_Load();  // the dialog's settings, and the refresh when a place is stored
    pic.Form_Load();
    if (options.search) {
        if (const int status = SearchPlace(main, set, options, out, err); status != kExitWeather) return status;
        if (options.choose == 0) return kExitWeather;
    }

    if (Trim(set.tCID).empty()) {
        err << WINtoUTF8("FEHLER:  Kein Ort gespeichert. Bitte \"Location.Selected\" und \"Location.Key\" in ")
            << file.string() << WINtoUTF8(" eintragen oder mit --set angeben.") << '\n';
        return kExitError;
    }
    out << (options.json ? FaceJson(main, tray.Last()) : FaceText(main, tray.Last()));
    if (settings.WriteFailed())
        err << WINtoUTF8("Warnung: Einstellungen konnten nicht gespeichert werden in ") << file.string() << '\n';

    const Label& title = main.lTitle[0];
    if (set.DataLoaded && title.ForeColor == kTitleDone) return kExitWeather;
    // An error text begins with "FEHLER"; anything else means the run stopped before its end.
    PrintError(err, title.Caption.rfind("FEHLER", 0) == 0
                        ? title.Caption
                        : Cat("FEHLER:  Die Aktualisierung endete ohne Wetterdaten (", title.Caption, ")."));
    return kExitError;
}
