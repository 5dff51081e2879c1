// A session manager for the end-to-end tests, speaking the X session
// management protocol to the programs started with its address. It prints
// its address on the first line, then what its clients report ("registered",
// "saved", "cancelled", "died", "gone"), and takes commands on standard input:
//   save    a session save (the desktop keeps running)
//   cancel  a log-off that the user then cancels
//   end     a log-off that goes through: save, then the last word
// Every client gets each command; the protocol asks for the first save
// itself, as soon as a client has registered.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <algorithm>
#include <vector>

namespace {

enum class After { Nothing, Cancel, Die };

struct Client {
  SmsConn sms;
  After after = After::Nothing;
};

std::vector<Client> clients;
std::vector<IceConn> connections;

void Say(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
}

Client* Find(SmsConn sms) {
  for (Client& c : clients) {
    if (c.sms == sms) return &c;
  }
  return nullptr;
}

Status RegisterClient(SmsConn sms, SmPointer, char* previousId) {
  std::free(previousId);
  char* id = SmsGenerateClientID(sms);
  SmsRegisterClientReply(sms, id);
  std::free(id);
  Say("registered");
  SmsSaveYourself(sms, SmSaveLocal, False, SmInteractStyleNone, False);
  return 1;
}

void InteractRequest(SmsConn sms, SmPointer, int) { SmsInteract(sms); }
void InteractDone(SmsConn, SmPointer, Bool) {}
void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void SaveYourselfPhase2Request(SmsConn sms, SmPointer) { SmsSaveYourselfPhase2(sms); }

void SaveYourselfDone(SmsConn sms, SmPointer, Bool) {
  Say("saved");
  Client* c = Find(sms);
  if (!c) return;
  const After after = c->after;
  c->after = After::Nothing;
  if (after == After::Cancel) {
    SmsShutdownCancelled(sms);
    Say("cancelled");
  } else if (after == After::Die) {
    SmsDie(sms);
    Say("died");
  }
}

// A client said goodbye, or its connection broke.
void Forget(IceConn ice) {
  std::erase_if(clients, [ice](const Client& c) {
    if (SmsGetIceConnection(c.sms) != ice) return false;
    SmsCleanUp(c.sms);
    return true;
  });
  std::erase(connections, ice);
  IceSetShutdownNegotiation(ice, False);
  IceCloseConnection(ice);
  Say("gone");
}

void CloseConnection(SmsConn sms, SmPointer, int count, char** reasons) {
  SmFreeReasons(count, reasons);
  Forget(SmsGetIceConnection(sms));
}

void SetProperties(SmsConn, SmPointer, int count, SmProp** props) {
  for (int i = 0; i < count; ++i) SmFreeProperty(props[i]);
  std::free(props);
}
void DeleteProperties(SmsConn, SmPointer, int count, char** names) {
  for (int i = 0; i < count; ++i) std::free(names[i]);
  std::free(names);
}
void GetProperties(SmsConn sms, SmPointer) { SmsReturnProperties(sms, 0, nullptr); }

Status NewClient(SmsConn sms, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**) {
  clients.push_back({sms});
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
          SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
          SmsGetPropertiesProcMask;
  callbacks->register_client.callback = RegisterClient;
  callbacks->interact_request.callback = InteractRequest;
  callbacks->interact_done.callback = InteractDone;
  callbacks->save_yourself_request.callback = SaveYourselfRequest;
  callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
  callbacks->save_yourself_done.callback = SaveYourselfDone;
  callbacks->close_connection.callback = CloseConnection;
  callbacks->set_properties.callback = SetProperties;
  callbacks->delete_properties.callback = DeleteProperties;
  callbacks->get_properties.callback = GetProperties;
  return 1;
}

// Test machines have no authority file: anyone on this host may connect.
Bool AnyHost(char*) { return True; }

void Command(const std::string& line) {
  for (Client& c : clients) {
    if (line == "save") {
      SmsSaveYourself(c.sms, SmSaveLocal, False, SmInteractStyleNone, False);
    } else if (line == "cancel" || line == "end") {
      c.after = line == "cancel" ? After::Cancel : After::Die;
      SmsSaveYourself(c.sms, SmSaveBoth, True, SmInteractStyleAny, False);
    }
  }
}

}  // namespace

int main() {
  // A client that ends breaks its connection: no reason to end as well.
  IceSetIOErrorHandler([](IceConn) {});
  char error[256] = "";
  if (!SmsInitialize("quendar-tests", "1", NewClient, nullptr, AnyHost, sizeof error, error)) {
    std::fprintf(stderr, "session manager: %s\n", error);
    return 1;
  }
  int count = 0;
  IceListenObj* listeners = nullptr;
  if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
    std::fprintf(stderr, "session manager: %s\n", error);
    return 1;
  }
  for (int i = 0; i < count; ++i) IceSetHostBasedAuthProc(listeners[i], AnyHost);
  char* address = IceComposeNetworkIdList(count, listeners);
  Say(address);
  std::free(address);

  std::string pending;
  for (;;) {
    std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
    for (int i = 0; i < count; ++i) fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
    for (IceConn c : connections) fds.push_back({IceConnectionNumber(c), POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0) continue;

    if (fds[0].revents) {
      char buffer[256];
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) {  // the test is over
        IceFreeListenObjs(count, listeners);
        return 0;
      }
      pending.append(buffer, std::size_t(n));
      for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
        Command(pending.substr(0, end));
      }
    }
    for (int i = 0; i < count; ++i) {
      if (!fds[std::size_t(1 + i)].revents) continue;
      IceAcceptStatus status;
      if (IceConn c = IceAcceptConnection(listeners[i], &status)) connections.push_back(c);
    }
    const std::vector<IceConn> open = connections;
    for (std::size_t i = 0; i < open.size(); ++i) {
      if (!fds[std::size_t(1 + count) + i].revents) continue;
      IceConn c = open[i];
      if (IceConnectionStatus(c) == IceConnectPending) {
        IceProcessMessages(c, nullptr, nullptr);
        continue;
      }
      if (IceProcessMessages(c, nullptr, nullptr) == IceProcessMessagesIOError) Forget(c);
    }
  }
}
