#include "keyring/SecretServiceStore.h"

#include <libsecret/secret.h>
#include <sys/stat.h>

#include <string_view>

#include "keyring/CallDeadline.h"
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
        {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
    },
    0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct HashTableUnref {
    void operator()(GHashTable* table) const { g_hash_table_unref(table); }
};
struct ItemListFree {
    void operator()(GList* items) const { g_list_free_full(items, g_object_unref); }
};
struct SecretValueUnref {
    void operator()(SecretValue* value) const { secret_value_unref(value); }
};

using ErrorPtr = std::unique_ptr<GError, GErrorFree>;
using AttributesPtr = std::unique_ptr<GHashTable, HashTableUnref>;
using ItemsPtr = std::unique_ptr<GList, ItemListFree>;
using SecretValuePtr = std::unique_ptr<SecretValue, SecretValueUnref>;

// The attributes that name the entry of `address`; with its hardware address when `mac` is
// given (kept form, possibly empty).
AttributesPtr EntryAttributes(const std::string& address, const std::string* mac = nullptr) {
    AttributesPtr attributes(g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free));
    const auto add = [&attributes](std::string_view name, const std::string& value) {
        g_hash_table_insert(attributes.get(), g_strndup(name.data(), name.size()),
                            g_strndup(value.data(), value.size()));
    };
    add("service", std::string(fleet::kCredentialService));
    add(fleet::kAddressAttribute, address);
    if (mac != nullptr) {
        add(fleet::kHardwareAddressAttribute, *mac);
    }
    return attributes;
}

// Removes what is kept for `address`; false when the keyring failed (nothing kept is no failure).
bool ClearEntry(SecretService* service, const std::string& address,
                const CCallDeadline& deadline) {
    GError* error = nullptr;
    secret_service_clear_sync(service, &kProjectorPasswordSchema, EntryAttributes(address).get(),
                              deadline.Cancellable(), &error);
    const ErrorPtr failed(error);
    return !failed;
}

std::string AttributeOf(SecretItem* item, std::string_view name) {
    AttributesPtr attributes(secret_item_get_attributes(item));
    const auto* value = static_cast<const char*>(
        g_hash_table_lookup(attributes.get(), std::string(name).c_str()));
    return value != nullptr ? std::string(value) : std::string();
}

// The password an item holds; none when its secret was not loaded.
std::optional<std::string> PasswordOf(SecretItem* item) {
    const SecretValuePtr value(secret_item_get_secret(item));
    if (!value) {
        return std::nullopt;
    }
    gsize length = 0;
    const gchar* bytes = secret_value_get(value.get(), &length);
    return std::string(bytes, length);
}

}  // namespace

struct CSecretServiceStore::Service {
    explicit Service(SecretService* opened) : service(opened) {}
    ~Service() { g_object_unref(service); }
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
    const CCallDeadline deadline(limits_.call);
    GError* error = nullptr;
    const auto flags = static_cast<SecretSearchFlags>(
        SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK | SECRET_SEARCH_LOAD_SECRETS);
    const ItemsPtr items(secret_service_search_sync(service_->service, &kProjectorPasswordSchema,
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
        if (!password || !fleet::SameProjector(kept, known)) {
            continue;
        }
        const bool exact = !known.empty() && fleet::KeptHardwareAddress(kept) == known;
        if (!found || exact) {
            found = fleet::Credential{address, fleet::KeptHardwareAddress(kept), *password};
        }
        if (exact) {
            break;
        }
    }
    return found;
}

bool CSecretServiceStore::Keep(const fleet::Credential& credential) {
    const std::lock_guard lock(mutex_);
    if (silent_) {
        return false;
    }
    const CCallDeadline deadline(limits_.call);
    if (!ClearEntry(service_->service, credential.address, deadline)) {
        silent_ = deadline.Passed();
        return false;
    }
    const std::string mac = fleet::KeptHardwareAddress(credential.hardwareAddress);
    const std::string label =
        FormatString(kStringKeyringEntryLabel, UserLanguage(), {credential.address});
    const SecretValuePtr value(secret_value_new(
        credential.password.data(), static_cast<gssize>(credential.password.size()),
        "text/plain"));
    GError* error = nullptr;
    const gboolean stored = secret_service_store_sync(
        service_->service, &kProjectorPasswordSchema,
        EntryAttributes(credential.address, &mac).get(), SECRET_COLLECTION_DEFAULT,
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
    const CCallDeadline deadline(limits_.call);
    const bool cleared = ClearEntry(service_->service, address, deadline);
    silent_ = deadline.Passed();
    return cleared;
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
    if (!SessionBusNamed(environment)) {
        return nullptr;
    }
    const CCallDeadline deadline(limits.reach);
    GError* error = nullptr;
    SecretService* service =
        secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, deadline.Cancellable(), &error);
    const ErrorPtr failed(error);
    if (service == nullptr || failed) {
        if (service != nullptr) {
            g_object_unref(service);
        }
        return nullptr;
    }
    return std::make_unique<CSecretServiceStore>(
        std::make_unique<CSecretServiceStore::Service>(service), limits);
}

}  // namespace lanterna::keyring
