#include "multiplayer/receiver.h"

#include "core/game_sound.h"
#include "core/game_start.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/object_ref.h"
#include "core/rank.h"
#include "core/trace.h"
#include "launcher/settings.h"
#include "multiplayer/messages.h"
#include "multiplayer/receiver_state.h"
#include "multiplayer/session_state.h"
#include "multiplayer/waiting_room.h"
#include "platform/failure.h"
#include "platform/play/direct_play.h"
#include "platform/play/session.h"
#include "platform/ui/message_box.h"
#include "player/formal_name.h"
#include "player/player.h"
#include "web/status_window.h"

#include <algorithm>
#include <exception>
#include <string>

namespace {

// Info sounds (core/game_sound.h).
constexpr int32_t kSoundAnnounce = 0;
constexpr int32_t kSoundChat = 1;
constexpr int32_t kSoundKill = 2;
constexpr int32_t kSoundHeadKill = 4;

constexpr int32_t kRosterSlots = 8;

constexpr char kHostNow[] = "You are now the host.";

// A drain runs: a second one, started by the waiting room's timer while a box
// of the first waits, is refused. Released before the game start, whose
// main loop drains every frame.
bool draining = false;

// Once a chat line reached the waiting room's log, a failing step of what
// follows in the same drain is skipped instead of ending it.
bool skipFailures = false;

// A roster this machine can start a game from: at least one player, and this
// machine's own among them (a start message built while this machine was
// joining does not list it).
bool ListsThisMachine(const StartMessage& start) {
    const auto listed = start.ids.begin() + start.count;
    return start.count > 0 && std::find(start.ids.begin(), listed, IdLocalDP) != listed;
}

void StartGame(const StartMessage& start) {
    if (WaitingWindow().IsLoaded()) {
        WaitingWindow().Timer1.SetEnabled(false);
        WaitingWindow().Hide();
    }
    NbJoueurs = start.count;
    std::copy_n(start.ids.begin(), start.count, IdsJoueurs.begin());
    HostPlayerId = start.hostId;
    SessionName = start.sessionName;
    NomMap = start.mapName;
    PartieEnCours = true;
    Trace("start message received ", int32_t(start.count), " players, host ", start.hostId);
    draining = false;
    CallGameStart();
}

// The game start is built to run once per run: while a game runs, the start
// messages that every machine sends a late joiner are read and dropped.
void OnStart(play::DirectPlayMessage& message) {
    StartMessage start;
    if (!ReadStartMessage(message, start) || PartieEnCours || !ListsThisMachine(start)) {
        Trace("start message dropped");
        return;
    }
    StartGame(start);
}

// Chat lines go to info line 1, kill notices to info line 2.
void OnText(int32_t type, const std::string& senderName, play::DirectPlayMessage& message) {
    std::string text;
    if (!ReadFields([&] { text = message.ReadString(); })) return;
    if (type == MSG_CHAT && WaitingRoomShown()) {
        skipFailures = true;
        Trace("chat received ", senderName, ": ", text);
        WaitingWindow().AppendChat(senderName, text);
        return;
    }
    const std::string line = senderName + " says: " + text;
    if (type == MSG_CHAT)
        GameWindow().AfficheMessage(line, kSoundChat);
    else
        GameWindow().AfficheMessage2(line, kSoundChat);
}

// Whoever sends it, the local player scored. Before a game there is no
// local player to credit, and a count at its limit stays there.
void OnKill(int32_t type) {
    if (IndiceLocal < 0) return;
    player& local = JoueurLocal();
    const bool head = type == MSG_HEADKILL;
    if (local.tueur == INT32_MAX || (head && local.snipper == INT32_MAX)) return;
    local.tueur += 1;
    if (head) local.snipper += 1;
    JoueSonInfo(head ? kSoundHeadKill : kSoundKill);
    CalculeRang();
    Trace("kill counted ", local.tueur, head ? " head" : "");
}

void OnHost(play::DirectPlayMessage& message) {
    int32_t host = 0;
    if (!ReadFields([&] { host = message.ReadLong(); })) return;
    HostPlayerId = host;
    Trace("host id received ", host);
}

// Nothing sends it; its records are read and dropped, so that a sender
// written later is read without failure.
void OnMessage7(play::DirectPlayMessage& message) {
    ReadFields([&] {
        for (int32_t slot = 0; slot < NbJoueurs; ++slot) {
            if (message.ReadLong() != IdLocalDP) continue;
            for (int i = 0; i < 12; ++i) message.ReadDouble();
            message.ReadByte();
            message.ReadLong();
            message.ReadDouble();
            message.ReadDouble();
        }
    });
}

int32_t SlotOf(int32_t id);

// A hit on the local player from the player `from`: the local player takes
// it from the slot that holds `from` on this machine. A hit from an id
// without a slot here, or before there is a local player, is dropped. A
// failure while the local player takes it drops that hit alone: the rest of
// the queue is other players' traffic and is still read.
void OnHit(int32_t from, play::DirectPlayMessage& message) {
    HitMessage hit;
    if (!ReadHitMessage(message, hit)) return;
    const int32_t shooter = SlotOf(from);
    if (shooter < 0 || IndiceLocal < 0) return;
    try {
        JoueurLocal().Toucher(hit.damage, shooter, SingleCoordinate(hit.point[0]), SingleCoordinate(hit.point[1]),
                              SingleCoordinate(hit.point[2]));
    } catch (...) {
        if (!IsFailure(std::current_exception())) throw;
        const Failure failure = AsFailure(std::current_exception());
        Trace("hit dropped: ", failure.Description(), ": ", failure.Number());
    }
}

void DispatchApplication(int32_t from, int32_t type, const std::string& senderName, play::DirectPlayMessage& message) {
    switch (type) {
        case MSG_START:
            return OnStart(message);
        case MSG_STATE:
            return ReceiveState(from, message);
        case MSG_NEXT:
            return NextRosterSlot();
        case MSG_CHAT:
        case MSG_TEXT:
            return OnText(type, senderName, message);
        case MSG_7:
            return OnMessage7(message);
        case MSG_HOST:
            return OnHost(message);
        case MSG_HIT:
            return OnHit(from, message);
        case MSG_KILL:
        case MSG_HEADKILL:
            return OnKill(type);
        default:
            return;  // not a type of this game
    }
}

void OnBecameHost() {
    IsHost = true;
    HostPlayerId = IdLocalDP;
    SendNewHost();
    if (!WebServerHost.empty()) StatusWindow().devenir_server(nullptr, "");
    Trace("host now");
    if (!WaitingRoomShown()) return GameWindow().AfficheMessage(kHostNow, kSoundAnnounce);
    ui::MsgBox(kHostNow);
    WaitingWindow().UpdateWaiting();
}

// The first of the slots in use (below NbJoueurs) whose player has the
// session id `id`; -1 when none has.
int32_t SlotOf(int32_t id) {
    const int32_t used = std::min<int32_t>(NbJoueurs, int32_t(Joueurs.size()));
    for (int32_t i = 0; i < used; ++i) {
        const auto& p = Joueurs.Peek(size_t(i));
        if (p && p->id == id) return i;
    }
    return -1;
}

bool HasRootFrame(int32_t slot) {
    const auto& p = Joueurs.Peek(size_t(slot));
    return p && p->joueur;
}

// The first of the slots 0 to 7 without a player in the game (a departed
// player's slot counts); -1 when all are taken.
int32_t FreeSlot() {
    for (int32_t i = 0; i < kRosterSlots; ++i)
        if (!HasRootFrame(i)) return i;
    return -1;
}

// The player type, then the id, of a created or destroyed player.
bool ReadPlayerId(play::DirectPlayMessage& message, int32_t& id) {
    return ReadFields([&] {
        message.ReadLong();
        id = message.ReadLong();
    });
}

void OnPlayerLeft(play::DirectPlayMessage& message) {
    int32_t id = 0;
    if (!ReadPlayerId(message, id) || !PartieEnCours) return;
    const int32_t slot = SlotOf(id);
    if (slot < 0) return;
    player& p = Joueurs[size_t(slot)];
    Trace("player left ", p.nom);
    GameWindow().AfficheMessage(p.nom + " leave the game.", kSoundAnnounce);
    p.Destroy();
    // Nothing of the departed player stays: not its sounds, nor its id.
    Joueurs.Clear(size_t(slot));
}

void MakeRemotePlayer(int32_t slot, int32_t id, const std::string& nom, const FormalNameParts& name) {
    auto p = std::make_shared<player>();
    p->indice = slot;
    p->id = id;
    p->nom = nom;
    p->IdModele = name.side;
    p->texture = SkinFileName(name.side, name.skin);
    Joueurs.Set(size_t(slot), p);
    p->Initplayer();
}

// A player who joined a running game: a player here in the first free slot,
// named, sided and skinned by the session, then this machine's start
// message, host or not. The roster this machine started with stays as it is.
void OnPlayerJoined(play::DirectPlay& dp, play::DirectPlayMessage& message) {
    int32_t id = 0;
    if (!PartieEnCours || !ReadPlayerId(message, id)) return;
    const int32_t known = SlotOf(id);
    if (known < 0 || !HasRootFrame(known)) {
        const int32_t slot = FreeSlot();
        if (slot < 0) return;
        std::string nom, formal;
        if (!ReadFields([&] {
                nom = dp.GetPlayerFriendlyName(id);
                formal = dp.GetPlayerFormalName(id);
            }))
            return;
        MakeRemotePlayer(slot, id, nom, ReadFormalName(formal));
        Trace("late joiner made ", nom, " in slot ", slot);
    }
    SendStartGame(id);
    Trace("late joiner answered ", id);
}

// In the lobby players who come and go only refresh the waiting room's list.
void DispatchSystem(play::DirectPlay& dp, int32_t code, play::DirectPlayMessage& message) {
    const bool lobby = WaitingRoomShown();
    if (lobby && (code == play::SystemCreatePlayer || code == play::SystemDestroyPlayer)) {
        WaitingWindow().UpdateWaiting();
        if (code == play::SystemCreatePlayer) return;
    }
    switch (code) {
        case play::SystemCreatePlayer:
            return OnPlayerJoined(dp, message);
        case play::SystemDestroyPlayer:
            return OnPlayerLeft(message);
        case play::SystemHost:
            return OnBecameHost();
        default:
            return;
    }
}

// The name of a player's message's sender. Every message asks for it, so one
// buffer serves them all.
std::string SenderName = Initial(&SenderName, {});

// One message: its type (or system code), then, for a player's message, its
// sender's name before it is applied.
void Dispatch(play::DirectPlay& dp, int32_t from, play::DirectPlayMessage& message) {
    int32_t type = 0;
    if (!ReadFields([&] { type = message.ReadLong(); })) return;
    if (from == 0) return DispatchSystem(dp, type, message);
    if (!ReadFields([&] { dp.GetPlayerFriendlyName(from, SenderName); })) return;
    DispatchApplication(from, type, SenderName, message);
}

void DrainCounted() {
    // Held for the drain: a game started from here may drop the object.
    const std::shared_ptr<play::DirectPlay> dp = DPlay;
    for (int32_t waiting = dp->GetMessageCount(IdLocalDP); waiting >= 1; --waiting) {
        int32_t from = 0, to = 0;
        const auto message = dp->Receive(from, to, play::ReceiveAll);
        if (skipFailures)
            skip([&] { Dispatch(*dp, from, *message); });
        else
            Dispatch(*dp, from, *message);
    }
}

}  // namespace

void ReceiveMessages() {
    if (!DPlay || draining) return;
    draining = true;
    skipFailures = false;
    try {
        DrainCounted();
    } catch (...) {
        draining = false;
        if (!IsFailure(std::current_exception())) throw;
        return;
    }
    draining = false;
}

void CallGameStart() {
    if (GameStartCall)
        GameStartCall();
    else
        InitJeu();
}

void SendNewHost() {
    play::DirectPlay& dp = Ref(DPlay);
    auto message = dp.CreateMessage();
    message->WriteLong(MSG_HOST);
    message->WriteLong(HostPlayerId);
    dp.Send(IdLocalDP, 0, play::SendGuaranteed, message);
}

void SendStartGame(int32_t id) { Ref(DPlay).Send(IdLocalDP, id, play::SendGuaranteed, BuildStartMessage()); }

void NextRosterSlot() {
    int32_t slot = RosterPos;
    for (int32_t turn = 0; turn < kRosterSlots; ++turn) {
        slot = slot < 0 || slot >= kRosterSlots - 1 ? 0 : slot + 1;
        if (IdsJoueurs[size_t(slot)] != 0) {
            RosterPos = static_cast<int16_t>(slot);
            return;
        }
    }
}
