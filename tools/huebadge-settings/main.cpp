// huebadge-settings: shows the settings pane in a web browser. Prints the address to open
// (with its access token) and serves until Ctrl-C or SIGTERM. --page starts on another
// registered page class than the pane's first page.
#include <unicode/locid.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "host/browser/BrowserServer.h"
#include "host/browser/ScreenSourceFactory.h"
#include "platform/prefs/PSClasses.h"
#include "platform/system/DeviceRoot.h"
#include "store/HBPreferences.h"

namespace {

constexpr int kUsageExit = 2;
constexpr const char* kUsage =
    "usage: huebadge-settings [--device-root DIR] [--port N] [--appearance light|dark] "
    "[--screen WxH] [--locale LOCALE] [--page CLASS]";

struct Settings {
    BrowserServerOptions server;
    ScreenOptions screen;
    std::optional<std::string> locale;
    std::optional<std::string> pageClass;
};

int usage(std::string_view problem) {
    std::cerr << "huebadge-settings: " << problem << "\n" << kUsage << "\n";
    return kUsageExit;
}

bool parseNumber(std::string_view text, long low, long high, long& number) {
    std::string copy(text);
    char* end = nullptr;
    errno = 0;
    number = std::strtol(copy.c_str(), &end, 10);
    return !copy.empty() && std::isdigit(static_cast<unsigned char>(copy[0])) && *end == '\0' &&
           errno == 0 && number >= low && number <= high;
}

// "390x844": two sizes in points, each from 100 to 4000.
bool parseScreen(std::string_view text, ScreenOptions& screen) {
    std::size_t cross = text.find('x');
    long width = 0;
    long height = 0;
    if (cross == std::string_view::npos || !parseNumber(text.substr(0, cross), 100, 4000, width) ||
        !parseNumber(text.substr(cross + 1), 100, 4000, height)) {
        return false;
    }
    screen.width = static_cast<double>(width);
    screen.height = static_cast<double>(height);
    return true;
}

// A locale whose language ICU has data for ("de", "fr_CH"), so that a typo is not silently
// taken as the root locale.
bool knownLocale(const std::string& name) {
    icu::Locale locale = icu::Locale::createFromName(name.c_str());
    if (locale.isBogus() || std::strlen(locale.getLanguage()) == 0) {
        return false;
    }
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        if (std::strcmp(available[i].getLanguage(), locale.getLanguage()) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> applyOption(std::string_view option, std::string_view value,
                                       Settings& settings) {
    long port = 0;
    if (option == "--port") {
        if (!parseNumber(value, 0, 65535, port))
            return "--port needs a number from 0 to 65535";
        settings.server.port = static_cast<int>(port);
    } else if (option == "--appearance") {
        if (value != "light" && value != "dark")
            return "--appearance is light or dark";
        settings.screen.appearance = std::string(value);
    } else if (option == "--screen") {
        if (!parseScreen(value, settings.screen))
            return "--screen needs WIDTHxHEIGHT, e.g. 390x844";
    } else if (option == "--locale") {
        if (!knownLocale(std::string(value)))
            return "unknown locale " + std::string(value);
        settings.locale = std::string(value);
    } else if (option == "--page") {
        settings.pageClass = std::string(value);
    } else {
        return "unknown option " + std::string(option);
    }
    return std::nullopt;
}

std::optional<std::string> parse(int argc, char** argv, Settings& settings) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) {
            return std::string(argv[i]) + " needs a value";
        }
        if (auto problem = applyOption(argv[i], argv[i + 1], settings)) {
            return problem;
        }
    }
    return std::nullopt;
}

BrowserServer* runningServer = nullptr;

void stopOnSignal(int) {
    if (runningServer) {
        runningServer->requestStop();
    }
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = stopOnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

void setLocale(const std::optional<std::string>& name) {
    if (name) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale::createFromName(name->c_str()), status);
    }
}

// A page class given by name must be one the program has, or the server would start on
// nothing; the message lists those it has.
bool knownPage(const std::optional<std::string>& pageClass) {
    if (!pageClass || PSControllerClasses::contains(*pageClass)) {
        return true;
    }
    std::cerr << "huebadge-settings: no page class named " << *pageClass << "; known:";
    for (const std::string& name : PSControllerClasses::names()) {
        std::cerr << " " << name;
    }
    std::cerr << "\n";
    return false;
}

// The pane's changes are saved once a burst of them ends (a tenth of a second without
// another, a second at most), never while an event waits for its answer; what other programs
// write to the settings shows on the open page.
void followSettingsStore() {
    HBPreferences& store = HBPreferences::paneStore();
    store.setSaveDelay({.quiet = 0.1, .longest = 1.0, .inBackground = true});
    store.watchForOtherWriters();
    store.prepareForSaves();
}

}  // namespace

int main(int argc, char** argv) {
    if (!DeviceRoot::chooseFromArguments(argc, argv)) {
        return usage("--device-root needs a folder");
    }
    Settings settings;
    if (auto problem = parse(argc, argv, settings)) {
        return usage(*problem);
    }
    if (!knownPage(settings.pageClass)) {
        return 1;
    }
    setLocale(settings.locale);
    std::unique_ptr<ScreenSource> source = makeScreenSource(settings.screen, settings.pageClass);
    if (!source) {
        std::cerr << "huebadge-settings: the first page could not be shown\n";
        return 1;
    }
    followSettingsStore();
    BrowserServer server(*source, settings.server);
    if (Status started = server.start(); !started) {
        std::cerr << "huebadge-settings: " << started.error() << "\n";
        return 1;
    }
    runningServer = &server;
    installSignalHandlers();
    std::cout << server.address() << std::endl;
    Status ran = server.run();
    runningServer = nullptr;
    HBPreferences::sharedInstance().savePendingChanges();
    if (!ran) {
        std::cerr << "huebadge-settings: " << ran.error() << "\n";
        return 1;
    }
    return 0;
}
