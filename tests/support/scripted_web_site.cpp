#include "support/scripted_web_site.h"

#include "support/zip_builder.h"

#include <QDateTime>
#include <QFile>

#include <cctype>
#include <charconv>
#include <stdexcept>

namespace {

std::string Key(const FakeRequest& request, const std::string& key) {
    const auto found = request.params.find(key);
    return found == request.params.end() ? std::string() : found->second;
}

int32_t Number(const std::string& text) {
    int32_t number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string Element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + Escaped(text) + "</" + name + ">";
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

FakeReply Document(const std::string& root, const std::string& elements) {
    return {200, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><" + root + ">" + elements + "</" + root + ">"};
}

}  // namespace

ScriptedWebSite::ScriptedWebSite(FakeWebServer& server) : server_(server) {
    server.Route("/script/nouveaujoueur.php3", [this](const FakeRequest& request) { return AccountScript(request); });
    server.Route("/script/nouveaumess.php3", [this](const FakeRequest& request) { return PostScript(request); });
    server.Route("/script/getmess.php3", [this](const FakeRequest& request) { return ReadScript(request); });
    server.Route("/script/set_server.php3", [this](const FakeRequest& request) { return AnnounceScript(request); });
    server.Route("/script/get_server2.php3", [this](const FakeRequest& request) { return ListScript(request); });
    server.Route("/script/delete_server.php3", [this](const FakeRequest& request) { return RemoveScript(request); });
    server.Route("/script/quitte_server.php3",
                 [this](const FakeRequest& request) { return StatisticsScript(request); });
    server.Route("/script/get_map.php3", [this](const FakeRequest& request) { return MapListScript(request); });
}

void ScriptedWebSite::SetAccount(int32_t number, SiteAccount account) {
    std::lock_guard lock(mutex_);
    accounts_[number] = std::move(account);
}

std::optional<SiteAccount> ScriptedWebSite::Account(int32_t number) const {
    std::lock_guard lock(mutex_);
    const auto found = accounts_.find(number);
    if (found == accounts_.end()) return std::nullopt;
    return found->second;
}

void ScriptedWebSite::SetRelease(std::string version, std::string url) {
    std::lock_guard lock(mutex_);
    release_.emplace(std::move(version), std::move(url));
}

std::vector<BoardMessage> ScriptedWebSite::Board(int32_t type) const {
    std::lock_guard lock(mutex_);
    const auto found = boards_.find(type);
    return found == boards_.end() ? std::vector<BoardMessage>() : found->second;
}

FakeReply ScriptedWebSite::AccountScript(const FakeRequest& request) {
    std::lock_guard lock(mutex_);
    int32_t number = Number(Key(request, "LENUM"));
    if (number == 0 || !accounts_.contains(number)) number = accounts_.empty() ? 1 : accounts_.rbegin()->first + 1;
    SiteAccount& account = accounts_[number];
    account.name = Key(request, "LENOM");
    account.login = Key(request, "LELOG");
    account.password = Key(request, "LEPWD");
    account.email = Key(request, "LEMAIL");
    std::string elements = Element("CLE", std::to_string(number));
    if (release_) elements += Element("VER", release_->first) + Element("URL", release_->second);
    elements += Element("KILLER", std::to_string(account.killer)) + Element("KILLED", std::to_string(account.killed)) +
                Element("SNIPPER", std::to_string(account.snipper)) +
                Element("SNIPPED", std::to_string(account.snipped));
    return Document("JOUEUR", elements);
}

FakeReply ScriptedWebSite::PostScript(const FakeRequest& request) {
    std::lock_guard lock(mutex_);
    const auto sender = accounts_.find(Number(Key(request, "LEJOUEUR")));
    boards_[Number(Key(request, "LETYP"))].push_back(
        {++lastMessageKey_, sender == accounts_.end() ? std::string() : sender->second.name,
         QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd hh:mm:ss").toStdString(), Key(request, "LEMESS")});
    return Document("REPONSE", "OK");
}

FakeReply ScriptedWebSite::ReadScript(const FakeRequest& request) {
    std::lock_guard lock(mutex_);
    std::string elements;
    for (const BoardMessage& message : boards_[Number(Key(request, "LETYP"))])
        elements += Element("CLE", std::to_string(message.key)) + Element("NOM", message.sender) +
                    Element("DATE", message.date) + Element("MESSAGE", message.text);
    return Document("MESSAGES", elements);
}

void ScriptedWebSite::RefuseAnnounces(bool refuse) {
    std::lock_guard lock(mutex_);
    refuseAnnounces_ = refuse;
}

std::vector<SiteGame> ScriptedWebSite::Games() const {
    std::lock_guard lock(mutex_);
    std::vector<SiteGame> games;
    for (const auto& [key, game] : games_) games.push_back(game);
    return games;
}

std::vector<std::string> ScriptedWebSite::Comments() const {
    std::lock_guard lock(mutex_);
    return comments_;
}

FakeReply ScriptedWebSite::AnnounceScript(const FakeRequest& request) {
    std::lock_guard lock(mutex_);
    if (refuseAnnounces_) return Document("SERVEUR", "NO");
    const int32_t player = Number(Key(request, "LEJOUEUR"));
    const auto account = accounts_.find(player);
    SiteGame& game = games_[++lastGameKey_];
    game = {lastGameKey_,
            player,
            account == accounts_.end() ? std::string() : account->second.name,
            Key(request, "LAVERSION"),
            request.remoteAddress,
            Key(request, "LECOMMENT")};
    return Document("SERVEUR", std::to_string(lastGameKey_));
}

FakeReply ScriptedWebSite::ListScript(const FakeRequest&) {
    std::lock_guard lock(mutex_);
    std::string elements;
    for (const auto& [key, game] : games_)
        elements += Element("CLE_SERVEUR", std::to_string(game.key)) +
                    Element("CLE_JOUEUR", std::to_string(game.player)) + Element("NOM", game.name) +
                    Element("VERSION", game.version) + Element("IP", game.address) + Element("COMMENT", game.comment);
    return Document("SERVEURS", elements);
}

FakeReply ScriptedWebSite::RemoveScript(const FakeRequest& request) {
    std::lock_guard lock(mutex_);
    games_.erase(Number(Key(request, "CLE_SERVEUR")));
    return Document("REPONSE", "OK");
}

FakeReply ScriptedWebSite::StatisticsScript(const FakeRequest& request) {
    std::lock_guard lock(mutex_);
    SiteAccount& account = accounts_[Number(Key(request, "CLE_JOUEUR"))];
    account.killer += Number(Key(request, "KILLER"));
    account.killed += Number(Key(request, "KILLED"));
    account.snipper += Number(Key(request, "SNIPPER"));
    account.snipped += Number(Key(request, "SNIPPED"));
    comments_.push_back(Key(request, "COMMENT"));
    return Document("REPONSE", "OK");
}

void ScriptedWebSite::OfferMap(const std::string& name, std::optional<std::string> package) {
    {
        std::lock_guard lock(mutex_);
        maps_.push_back(name);
    }
    if (!package) return;
    ServePackage("/quellmar/map/" + Lower(name) + ".exe", std::move(*package));
}

void ScriptedWebSite::SetReleasePackage(std::string package) {
    ServePackage("/quellmar/release.exe", std::move(package));
}

void ScriptedWebSite::BreakPackages(bool broken) {
    std::lock_guard lock(mutex_);
    brokenPackages_ = broken;
}

void ScriptedWebSite::ServePackage(const std::string& path, std::string package) {
    server_.Route(path, [this, package = std::move(package)](const FakeRequest&) {
        std::lock_guard lock(mutex_);
        if (brokenPackages_) return FakeReply{200, "<html><body>Moved</body></html>", "text/html"};
        return FakeReply{200, package, "application/octet-stream"};
    });
}

FakeReply ScriptedWebSite::MapListScript(const FakeRequest&) {
    std::lock_guard lock(mutex_);
    std::string elements;
    for (const std::string& name : maps_) elements += Element("MAP", name);
    return Document("MAPS", elements);
}

std::string SampleMapPackage(const std::string& name, const std::string& mapText) {
    const std::string lower = Lower(name);
    std::vector<ZipEntry> entries;
    for (const char* extension : {".map", ".sol", ".mur", ".lad", ".pla"}) {
        QFile file(QString(QUELLMAR_GAME_DIR) + "/map/docks" + extension);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("no sample map file docks" + std::string(extension));
        entries.push_back({lower + extension, file.readAll().toStdString()});
    }
    if (!mapText.empty()) entries.front().data = mapText;
    return "MZ" + std::string(512, '\0') + BuildZip(entries);
}
