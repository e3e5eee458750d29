#include "platform/SecretStore.h"

#include "jconvert/cp932.h"

#ifndef _WIN32
#include <functional>
#include <libsecret/secret.h>
#include <memory>
#endif

namespace platform {

#ifdef _WIN32

// Windows keeps no Secret Service: the password stays in the settings file.
SecretResult SecretStore::Probe() const
{
    return { SecretStatus::kNoService, {}, {} };
}
SecretResult SecretStore::Store(const SecretAccount&, std::string_view) const
{
    return Probe();
}
SecretResult SecretStore::Lookup(const SecretAccount&) const
{
    return Probe();
}
SecretResult SecretStore::Remove(const SecretAccount&) const
{
    return Probe();
}

#else

namespace {

constexpr const char* kSecretsName = "org.freedesktop.secrets";
// How long a cancelled step may take to end: the service dismisses the
// prompt and answers. A service that does not is left behind.
constexpr std::chrono::milliseconds kCancelGrace { 1000 };

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using Object = std::unique_ptr<T, ObjectUnref>;
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorFree>;
struct TableUnref {
    void operator()(GHashTable* table) const { g_hash_table_unref(table); }
};
struct ValueUnref {
    void operator()(SecretValue* value) const { secret_value_unref(value); }
};
struct ItemsFree {
    void operator()(GList* items) const { g_list_free_full(items, g_object_unref); }
};
using Items = std::unique_ptr<GList, ItemsFree>;

const SecretSchema* Schema()
{
    static const SecretSchema schema = [] {
        SecretSchema s {};
        s.name = "org.example.corkpane.Password";
        s.flags = SECRET_SCHEMA_NONE;
        s.attributes[0] = { "application", SECRET_SCHEMA_ATTRIBUTE_STRING };
        s.attributes[1] = { "server", SECRET_SCHEMA_ATTRIBUTE_STRING };
        s.attributes[2] = { "port", SECRET_SCHEMA_ATTRIBUTE_INTEGER };
        s.attributes[3] = { "user", SECRET_SCHEMA_ATTRIBUTE_STRING };
        return s;
    }();
    return &schema;
}

std::unique_ptr<GHashTable, TableUnref> Attributes(const SecretAccount& account)
{
    const std::string server = jconvert::Cp932ToUtf8KeepingBytes(account.server);
    const std::string user = jconvert::Cp932ToUtf8KeepingBytes(account.user);
    return std::unique_ptr<GHashTable, TableUnref>(secret_attributes_build(Schema(), "application",
        "corkpane", "server", server.c_str(), "port", account.port, "user", user.c_str(), nullptr));
}

// One call's steps, each an asynchronous libsecret or D-Bus call run to its
// end in a main context of this call's own, all under one deadline.
class Bounded {
public:
    explicit Bounded(std::chrono::milliseconds limit)
        : context_(g_main_context_new())
        , cancellable_(g_cancellable_new())
        , deadline_(std::chrono::steady_clock::now() + limit)
    {
        g_main_context_push_thread_default(context_);
    }
    ~Bounded()
    {
        g_main_context_pop_thread_default(context_);
        g_object_unref(cancellable_);
        g_main_context_unref(context_);
    }
    Bounded(const Bounded&) = delete;
    Bounded& operator=(const Bounded&) = delete;

    GCancellable* Cancellable() const { return cancellable_; }
    bool TimedOut() const { return timedOut_; }

    // Starts a step (start gets the completion callback and its data) and
    // runs this context until it completes. At the deadline the step is
    // cancelled; one that still does not end within the grace is abandoned
    // and null returned (its bookkeeping is left allocated, as the
    // service may still answer into it).
    Object<GAsyncResult> Wait(const std::function<void(GAsyncReadyCallback, gpointer)>& start)
    {
        if (timedOut_)
            return nullptr;
        auto* pending = new Pending;
        start(&Pending::Done, pending);
        const auto giveUp = deadline_ + kCancelGrace;
        while (!pending->result) {
            const auto now = std::chrono::steady_clock::now();
            if (!timedOut_ && now >= deadline_) {
                timedOut_ = true;
                g_cancellable_cancel(cancellable_);
                continue;
            }
            if (timedOut_ && now >= giveUp)
                return nullptr;
            const auto mark = timedOut_ ? giveUp : deadline_;
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(mark - now).count();
            GSource* timer = g_timeout_source_new(static_cast<guint>(wait));
            g_source_set_callback(
                timer, [](gpointer) { return G_SOURCE_REMOVE; }, nullptr, nullptr);
            g_source_attach(timer, context_);
            g_main_context_iteration(context_, TRUE);
            g_source_destroy(timer);
            g_source_unref(timer);
        }
        Object<GAsyncResult> result(pending->result);
        delete pending;
        return result;
    }

private:
    struct Pending {
        GAsyncResult* result = nullptr;
        static void Done(GObject*, GAsyncResult* result, gpointer data)
        {
            static_cast<Pending*>(data)->result = G_ASYNC_RESULT(g_object_ref(result));
        }
    };

    GMainContext* context_;
    GCancellable* cancellable_;
    std::chrono::steady_clock::time_point deadline_;
    bool timedOut_ = false;
};

bool ServiceMissing(const GError* error)
{
    if (error->domain != G_DBUS_ERROR)
        return false;
    switch (error->code) {
    case G_DBUS_ERROR_SERVICE_UNKNOWN:
    case G_DBUS_ERROR_NAME_HAS_NO_OWNER:
    case G_DBUS_ERROR_SPAWN_EXEC_FAILED:
    case G_DBUS_ERROR_SPAWN_FORK_FAILED:
    case G_DBUS_ERROR_SPAWN_CHILD_EXITED:
    case G_DBUS_ERROR_SPAWN_CHILD_SIGNALED:
    case G_DBUS_ERROR_SPAWN_FAILED:
    case G_DBUS_ERROR_SPAWN_SETUP_FAILED:
    case G_DBUS_ERROR_SPAWN_CONFIG_INVALID:
    case G_DBUS_ERROR_SPAWN_SERVICE_INVALID:
    case G_DBUS_ERROR_SPAWN_SERVICE_NOT_FOUND:
    case G_DBUS_ERROR_SPAWN_PERMISSIONS_INVALID:
    case G_DBUS_ERROR_SPAWN_FILE_INVALID:
    case G_DBUS_ERROR_SPAWN_NO_MEMORY:
        return true;
    default:
        return false;
    }
}

SecretResult Outcome(SecretStatus status)
{
    return { status, {}, {} };
}

// What a failed step means. Past the deadline every failure is the time
// limit's (a cancelled step fails with "cancelled").
SecretResult Failure(const Bounded& bounded, GError* error)
{
    if (bounded.TimedOut())
        return Outcome(SecretStatus::kTimedOut);
    if (!error)
        return { SecretStatus::kFailed, {}, "no answer" };
    if (error->domain == G_DBUS_ERROR)
        g_dbus_error_strip_remote_error(error);
    if (error->domain == SECRET_ERROR && error->code == SECRET_ERROR_IS_LOCKED)
        return Outcome(SecretStatus::kLocked);
    return { ServiceMissing(error) ? SecretStatus::kNoService : SecretStatus::kFailed, {}, error->message };
}

// The session bus and, on it, a Secret Service that answers (the bus
// starts one that is only installed), or why not.
SecretResult Connect(Bounded& bounded, Object<SecretService>& service)
{
    GCancellable* cancel = bounded.Cancellable();
    auto result = bounded.Wait(
        [&](GAsyncReadyCallback done, gpointer data) { g_bus_get(G_BUS_TYPE_SESSION, cancel, done, data); });
    GError* raw = nullptr;
    Object<GDBusConnection> bus(result ? g_bus_get_finish(result.get(), &raw) : nullptr);
    Error error(raw);
    if (!bus) {
        if (bounded.TimedOut())
            return Outcome(SecretStatus::kTimedOut);
        return { SecretStatus::kNoService, {}, error ? error->message : "" };
    }
    // The bus connection is shared by the process: a bus that goes away
    // must end the keyring's calls, not the program.
    g_dbus_connection_set_exit_on_close(bus.get(), FALSE);

    result = bounded.Wait([&](GAsyncReadyCallback done, gpointer data) {
        g_dbus_connection_call(bus.get(), kSecretsName, "/org/freedesktop/secrets",
            "org.freedesktop.DBus.Peer", "Ping", nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, cancel, done,
            data);
    });
    if (!result)
        return Outcome(SecretStatus::kTimedOut);
    GVariant* reply = g_dbus_connection_call_finish(bus.get(), result.get(), &raw);
    error.reset(raw);
    if (reply)
        g_variant_unref(reply);
    // A service that does not know Peer (a rare binding) still answered.
    if (error && !g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD)
        && !g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_INTERFACE)
        && !g_error_matches(error.get(), G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_OBJECT))
        return Failure(bounded, error.get());

    result = bounded.Wait([&](GAsyncReadyCallback done, gpointer data) {
        secret_service_open(SECRET_TYPE_SERVICE, nullptr, SECRET_SERVICE_NONE, cancel, done, data);
    });
    if (!result)
        return Outcome(SecretStatus::kTimedOut);
    service.reset(secret_service_open_finish(result.get(), &raw));
    error.reset(raw);
    return service ? Outcome(SecretStatus::kDone) : Failure(bounded, error.get());
}

// Unlocks the default collection where it is locked: kDone when it was
// unlocked, kNotFound when there was nothing to unlock (no such collection,
// or an open one), kLocked when it stays locked.
SecretResult UnlockDefault(Bounded& bounded, SecretService* service)
{
    GCancellable* cancel = bounded.Cancellable();
    auto result = bounded.Wait([&](GAsyncReadyCallback done, gpointer data) {
        secret_collection_for_alias(
            service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, cancel, done, data);
    });
    if (!result)
        return Outcome(SecretStatus::kTimedOut);
    GError* raw = nullptr;
    Object<SecretCollection> collection(secret_collection_for_alias_finish(result.get(), &raw));
    Error error(raw);
    if (error)
        return Failure(bounded, error.get());
    if (!collection || !secret_collection_get_locked(collection.get()))
        return Outcome(SecretStatus::kNotFound);
    GList objects { collection.get(), nullptr, nullptr };
    result = bounded.Wait([&](GAsyncReadyCallback done, gpointer data) {
        secret_service_unlock(service, &objects, cancel, done, data);
    });
    if (!result)
        return Outcome(SecretStatus::kTimedOut);
    const gint unlocked = secret_service_unlock_finish(service, result.get(), nullptr, &raw);
    error.reset(raw);
    if (error)
        return Failure(bounded, error.get());
    if (bounded.TimedOut())
        return Outcome(SecretStatus::kTimedOut);
    return Outcome(unlocked > 0 ? SecretStatus::kDone : SecretStatus::kLocked);
}

// The account's items, unlocked where the user agrees (with their secrets
// when loadSecrets). A locked keyring hides what it holds, so where nothing
// is found and the default collection is locked, it is unlocked and
// searched again: kLocked when it stays locked.
SecretResult FindItems(
    Bounded& bounded, SecretService* service, GHashTable* attributes, bool loadSecrets, Items& items)
{
    GCancellable* cancel = bounded.Cancellable();
    const auto flags = static_cast<SecretSearchFlags>(
        SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK | (loadSecrets ? SECRET_SEARCH_LOAD_SECRETS : 0));
    for (int round = 0;; ++round) {
        auto result = bounded.Wait([&](GAsyncReadyCallback done, gpointer data) {
            secret_service_search(service, Schema(), attributes, flags, cancel, done, data);
        });
        if (!result)
            return Outcome(SecretStatus::kTimedOut);
        GError* raw = nullptr;
        items.reset(secret_service_search_finish(service, result.get(), &raw));
        Error error(raw);
        if (error)
            return Failure(bounded, error.get());
        if (bounded.TimedOut())
            return Outcome(SecretStatus::kTimedOut);
        if (items || round == 1)
            return Outcome(items ? SecretStatus::kDone : SecretStatus::kNotFound);
        // Nothing found in an open keyring: nothing is there.
        const SecretResult unlocked = UnlockDefault(bounded, service);
        if (unlocked.status != SecretStatus::kDone)
            return unlocked;
    }
}

} // namespace

SecretResult SecretStore::Probe() const
{
    Bounded bounded(timeLimit_);
    Object<SecretService> service;
    return Connect(bounded, service);
}

SecretResult SecretStore::Store(const SecretAccount& account, std::string_view password) const
{
    Bounded bounded(timeLimit_);
    Object<SecretService> service;
    if (SecretResult connected = Connect(bounded, service); connected.status != SecretStatus::kDone)
        return connected;
    const auto attributes = Attributes(account);
    const bool text = g_utf8_validate(password.data(), static_cast<gssize>(password.size()), nullptr);
    const std::unique_ptr<SecretValue, ValueUnref> value(secret_value_new(password.data(),
        static_cast<gssize>(password.size()), text ? "text/plain" : "application/octet-stream"));
    const std::string label = "Corkpane のメールのパスワード ("
        + jconvert::Cp932ToUtf8KeepingBytes(account.user) + "@"
        + jconvert::Cp932ToUtf8KeepingBytes(account.server) + ":" + std::to_string(account.port) + ")";
    GCancellable* cancel = bounded.Cancellable();
    // The first try finds out whether the collection is locked; after an
    // unlock, the second stores.
    for (int round = 0;; ++round) {
        auto result = bounded.Wait([&](GAsyncReadyCallback done, gpointer data) {
            secret_service_store(service.get(), Schema(), attributes.get(), SECRET_COLLECTION_DEFAULT,
                label.c_str(), value.get(), cancel, done, data);
        });
        if (!result)
            return Outcome(SecretStatus::kTimedOut);
        GError* raw = nullptr;
        const bool stored = secret_service_store_finish(service.get(), result.get(), &raw);
        Error error(raw);
        if (stored)
            return Outcome(SecretStatus::kDone);
        SecretResult failed = Failure(bounded, error.get());
        if (failed.status != SecretStatus::kLocked || round == 1)
            return failed;
        // Refused as locked although not locked (any more): the refusal stands.
        if (SecretResult unlocked = UnlockDefault(bounded, service.get());
            unlocked.status != SecretStatus::kDone)
            return unlocked.status == SecretStatus::kNotFound ? failed : unlocked;
    }
}

SecretResult SecretStore::Lookup(const SecretAccount& account) const
{
    Bounded bounded(timeLimit_);
    Object<SecretService> service;
    if (SecretResult connected = Connect(bounded, service); connected.status != SecretStatus::kDone)
        return connected;
    Items items;
    SecretResult found = FindItems(bounded, service.get(), Attributes(account).get(), true, items);
    if (found.status != SecretStatus::kDone)
        return found;
    for (GList* item = items.get(); item; item = item->next) {
        SecretValue* value = secret_item_get_secret(SECRET_ITEM(item->data));
        if (!value)
            continue;
        gsize length = 0;
        const gchar* bytes = secret_value_get(value, &length);
        found.password.assign(bytes, length);
        secret_value_unref(value);
        return found;
    }
    // Only locked items: the user did not unlock them.
    return Outcome(SecretStatus::kLocked);
}

SecretResult SecretStore::Remove(const SecretAccount& account) const
{
    Bounded bounded(timeLimit_);
    Object<SecretService> service;
    if (SecretResult connected = Connect(bounded, service); connected.status != SecretStatus::kDone)
        return connected;
    Items items;
    if (SecretResult found = FindItems(bounded, service.get(), Attributes(account).get(), false, items);
        found.status != SecretStatus::kDone)
        return found;
    GCancellable* cancel = bounded.Cancellable();
    for (GList* item = items.get(); item; item = item->next) {
        if (secret_item_get_locked(SECRET_ITEM(item->data)))
            return Outcome(SecretStatus::kLocked);
        auto result = bounded.Wait([&](GAsyncReadyCallback done, gpointer data) {
            secret_item_delete(SECRET_ITEM(item->data), cancel, done, data);
        });
        if (!result)
            return Outcome(SecretStatus::kTimedOut);
        GError* raw = nullptr;
        const bool deleted = secret_item_delete_finish(SECRET_ITEM(item->data), result.get(), &raw);
        Error error(raw);
        if (!deleted)
            return Failure(bounded, error.get());
    }
    return Outcome(SecretStatus::kDone);
}

#endif

} // namespace platform
