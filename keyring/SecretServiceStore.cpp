#include "keyring/SecretServiceStore.h"

#include <sys/stat.h>

#include <string_view>

#include "keyring/CallDeadline.h"
#include "keyring/SecretLibrary.h"
#include "resources/StringTable.h"
#include "resources/TextPattern.h"

namespace lanterna::keyring {

namespace {

// Items are matched on their attributes alone (not on the schema name), so that an entry made
// by another tool with the same attributes is found as well.
const SecretSchema kProjectorPasswordSchema = {
    "lanterna.ProjectorPassword",
    SECRET_SCHEMA_DONT_MATCH_NAME,
    {
        {"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
        {"address", SECRET_SCHEMA_ATTRIBUTE_STRING},
        {"hardware-address", SECRET_SCHEMA_ATTRIBUTE_STRING},
        {"pjlink", SECRET_SCHEMA_ATTRIBUTE_STRING},
        {"mismatch", SECRET_SCHEMA_ATTRIBUTE_STRING},
        {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
    },
    0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

// The library's calls. Reached only from a store, which exists once OpenSecretServiceStore has
// loaded the library.
const SecretLibrary& Calls() {
    return *LoadSecretLibrary();
}

struct GErrorFree {
    void operator()(GError* error) const { Calls().errorFree(error); }
};
struct HashTableUnref {
    void operator()(GHashTable* table) const { Calls().hashTableUnref(table); }
};
struct ItemListFree {
    void operator()(GList* items) const { Calls().listFreeFull(items, Calls().objectUnref); }
};
struct SecretValueUnref {
    void operator()(SecretValue* value) const { Calls().valueUnref(value); }
};

using ErrorPtr = std::unique_ptr<GError, GErrorFree>;
using AttributesPtr = std::unique_ptr<GHashTable, HashTableUnref>;
using ItemsPtr = std::unique_ptr<GList, ItemListFree>;
using SecretValuePtr = std::unique_ptr<SecretValue, SecretValueUnref>;

// The attributes that name the entry of `address`; with its hardware address when `mac` is
// given (kept form), marked as a PJLink password with `pjlink`, and with the mark of a password
// sent to another projector with `mismatch`.
AttributesPtr EntryAttributes(const std::string& address, const std::string* mac = nullptr,
                              bool pjlink = false, bool mismatch = false) {
    const SecretLibrary& calls = Calls();
    AttributesPtr attributes(
        calls.hashTableNewFull(calls.strHash, calls.strEqual, calls.free, calls.free));
    const auto add = [&attributes, &calls](std::string_view name, const std::string& value) {
        calls.hashTableInsert(attributes.get(), calls.strndup(name.data(), name.size()),
                              calls.strndup(value.data(), value.size()));
    };
    add("service", std::string(fleet::kCredentialService));
    add(fleet::kAddressAttribute, address);
    if (mac != nullptr) {
        add(fleet::kHardwareAddressAttribute, *mac);
    }
    if (pjlink) {
        add(fleet::kPjlinkAttribute, "1");
    }
    if (mismatch) {
        add(fleet::kMismatchAttribute, "1");
    }
    return attributes;
}

std::string AttributeOf(SecretItem* item, std::string_view name) {
    AttributesPtr attributes(Calls().itemGetAttributes(item));
    const auto* value = static_cast<const char*>(
        Calls().hashTableLookup(attributes.get(), std::string(name).c_str()));
    return value != nullptr ? std::string(value) : std::string();
}

bool IsPjlinkEntry(SecretItem* item) {
    return !AttributeOf(item, fleet::kPjlinkAttribute).empty();
}

// The items kept for `address` (with their secrets when `secrets`); null when none or the
// keyring failed.
ItemsPtr ItemsOf(SecretService* service, const std::string& address, bool secrets,
                 const CCallDeadline& deadline, bool& failed) {
    GError* error = nullptr;
    const auto flags = static_cast<SecretSearchFlags>(
        SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK | (secrets ? SECRET_SEARCH_LOAD_SECRETS : 0));
    ItemsPtr items(Calls().serviceSearchSync(service, &kProjectorPasswordSchema,
                                             EntryAttributes(address).get(), flags,
                                             deadline.Cancellable(), &error));
    const ErrorPtr searchFailed(error);
    failed = static_cast<bool>(searchFailed);
    return items;
}

// Removes the entries of one kind (PJLink's or the module's) kept for `address`; false when the
// keyring failed (nothing kept is no failure).
bool ClearEntry(SecretService* service, const std::string& address,
                const CCallDeadline& deadline, bool pjlink = false) {
    bool failed = false;
    const ItemsPtr items = ItemsOf(service, address, false, deadline, failed);
    for (GList* node = items.get(); node != nullptr && !failed; node = node->next) {
        auto* item = static_cast<SecretItem*>(node->data);
        if (IsPjlinkEntry(item) != pjlink) {
            continue;
        }
        GError* error = nullptr;
        Calls().itemDeleteSync(item, deadline.Cancellable(), &error);
        const ErrorPtr deleteFailed(error);
        failed = static_cast<bool>(deleteFailed);
    }
    return !failed;
}

// The password an item holds; none when its secret was not loaded.
std::optional<std::string> PasswordOf(SecretItem* item) {
    const SecretValuePtr value(Calls().itemGetSecret(item));
    if (!value) {
        return std::nullopt;
    }
    gsize length = 0;
    const gchar* bytes = Calls().valueGet(value.get(), &length);
    return std::string(bytes, length);
}

}  // namespace

struct CSecretServiceStore::Service {
    explicit Service(SecretService* opened) : service(opened) {}
    ~Service() { Calls().objectUnref(service); }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
    SecretService* service;
};

CSecretServiceStore::CSecretServiceStore(std::unique_ptr<Service> service, KeyringLimits limits)
    : service_(std::move(service)), limits_(limits) {}

CSecretServiceStore::~CSecretServiceStore() = default;

std::optional<fleet::Credential> CSecretServiceStore::Find(const std::string& address,
                                                           const std::string& hardwareAddress) {
    const std::lock_guard lock(mutex_);
    if (silent_) {
        return std::nullopt;
    }
    const CCallDeadline deadline(Calls(), limits_.call);
    GError* error = nullptr;
    const auto flags = static_cast<SecretSearchFlags>(
        SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK | SECRET_SEARCH_LOAD_SECRETS);
    const ItemsPtr items(Calls().serviceSearchSync(service_->service, &kProjectorPasswordSchema,
                                                   EntryAttributes(address).get(), flags,
                                                   deadline.Cancellable(), &error));
    const ErrorPtr failed(error);
    silent_ = deadline.Passed();
    // An entry made elsewhere may stand beside ours: the one of this very projector comes first,
    // then one whose hardware address was not known.
    std::optional<fleet::Credential> found;
    const std::string known = fleet::KeptHardwareAddress(hardwareAddress);
    for (GList* node = items.get(); node != nullptr; node = node->next) {
        auto* item = static_cast<SecretItem*>(node->data);
        const std::string kept = AttributeOf(item, fleet::kHardwareAddressAttribute);
        auto password = PasswordOf(item);
        if (!password || IsPjlinkEntry(item) || !fleet::SameProjector(kept, known)) {
            continue;
        }
        const bool exact = !known.empty() && fleet::KeptHardwareAddress(kept) == known;
        if (!found || exact) {
            found = fleet::Credential{address, fleet::KeptHardwareAddress(kept), *password,
                                      !AttributeOf(item, fleet::kMismatchAttribute).empty()};
        }
        if (exact) {
            break;
        }
    }
    return found;
}

bool CSecretServiceStore::Keep(const fleet::Credential& credential) {
    const std::string mac = fleet::KeptHardwareAddress(credential.hardwareAddress);
    // An entry without its projector's hardware address would go to any projector there.
    if (mac.empty()) {
        return false;
    }
    const std::lock_guard lock(mutex_);
    if (silent_) {
        return false;
    }
    const CCallDeadline deadline(Calls(), limits_.call);
    if (!ClearEntry(service_->service, credential.address, deadline)) {
        silent_ = deadline.Passed();
        return false;
    }
    const std::string label =
        FormatString(kStringKeyringEntryLabel, UserLanguage(), {credential.address});
    const SecretValuePtr value(Calls().valueNew(
        credential.password.data(), static_cast<gssize>(credential.password.size()),
        "text/plain"));
    GError* error = nullptr;
    const gboolean stored = Calls().serviceStoreSync(
        service_->service, &kProjectorPasswordSchema,
        EntryAttributes(credential.address, &mac, false, credential.mismatch).get(),
        SECRET_COLLECTION_DEFAULT,
        label.c_str(), value.get(), deadline.Cancellable(), &error);
    const ErrorPtr failed(error);
    silent_ = deadline.Passed();
    return stored != FALSE && !failed;
}

bool CSecretServiceStore::Forget(const std::string& address) {
    const std::lock_guard lock(mutex_);
    if (silent_) {
        return false;
    }
    const CCallDeadline deadline(Calls(), limits_.call);
    const bool cleared = ClearEntry(service_->service, address, deadline);
    silent_ = deadline.Passed();
    return cleared;
}

std::optional<std::string> CSecretServiceStore::FindPjlink(const std::string& address) {
    const std::lock_guard lock(mutex_);
    if (silent_) {
        return std::nullopt;
    }
    const CCallDeadline deadline(Calls(), limits_.call);
    bool failed = false;
    const ItemsPtr items = ItemsOf(service_->service, address, true, deadline, failed);
    silent_ = deadline.Passed();
    for (GList* node = items.get(); node != nullptr; node = node->next) {
        auto* item = static_cast<SecretItem*>(node->data);
        if (IsPjlinkEntry(item)) {
            if (auto password = PasswordOf(item)) {
                return password;
            }
        }
    }
    return std::nullopt;
}

bool CSecretServiceStore::KeepPjlink(const std::string& address, const std::string& password) {
    const std::lock_guard lock(mutex_);
    if (silent_) {
        return false;
    }
    const CCallDeadline deadline(Calls(), limits_.call);
    if (!ClearEntry(service_->service, address, deadline, true)) {
        silent_ = deadline.Passed();
        return false;
    }
    const std::string label =
        FormatString(kStringKeyringPjlinkLabel, UserLanguage(), {address});
    const SecretValuePtr value(Calls().valueNew(password.data(),
                                                static_cast<gssize>(password.size()), "text/plain"));
    GError* error = nullptr;
    const gboolean stored = Calls().serviceStoreSync(
        service_->service, &kProjectorPasswordSchema, EntryAttributes(address, nullptr, true).get(),
        SECRET_COLLECTION_DEFAULT, label.c_str(), value.get(), deadline.Cancellable(), &error);
    const ErrorPtr failed(error);
    silent_ = deadline.Passed();
    return stored != FALSE && !failed;
}

bool SessionBusNamed(const EnvironmentLookup& environment) {
    if (const auto address = environment("DBUS_SESSION_BUS_ADDRESS");
        address && !address->empty()) {
        return true;
    }
    const auto runtime = environment("XDG_RUNTIME_DIR");
    struct stat status {};
    return runtime && !runtime->empty() &&
           stat((*runtime + "/bus").c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

std::unique_ptr<fleet::ICredentialStore> OpenSecretServiceStore(
    const EnvironmentLookup& environment, KeyringLimits limits) {
    // The library is loaded only once a session bus makes a keyring possible.
    if (!SessionBusNamed(environment) || LoadSecretLibrary() == nullptr) {
        return nullptr;
    }
    const CCallDeadline deadline(Calls(), limits.reach);
    GError* error = nullptr;
    SecretService* service =
        Calls().serviceGetSync(SECRET_SERVICE_OPEN_SESSION, deadline.Cancellable(), &error);
    const ErrorPtr failed(error);
    if (service == nullptr || failed) {
        if (service != nullptr) {
            Calls().objectUnref(service);
        }
        return nullptr;
    }
    return std::make_unique<CSecretServiceStore>(
        std::make_unique<CSecretServiceStore::Service>(service), limits);
}

}  // namespace lanterna::keyring
