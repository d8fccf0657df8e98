#include "keyring/SecretLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace lanterna::keyring {

namespace {

// Fills `slot` with the call `name`; false when the library has none.
template <typename Call>
bool Bind(void* library, Call& slot, const char* name) {
    slot = reinterpret_cast<Call>(dlsym(library, name));
    return slot != nullptr;
}

std::optional<SecretLibrary> Load() {
    // The library's own dependencies (GIO, GObject, GLib) come with it, and its handle finds
    // their calls too.
    void* library = dlopen(kSecretLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    SecretLibrary calls{};
    const bool complete =
        Bind(library, calls.serviceGetSync, "secret_service_get_sync") &&
        Bind(library, calls.serviceSearchSync, "secret_service_search_sync") &&
        Bind(library, calls.serviceStoreSync, "secret_service_store_sync") &&
        Bind(library, calls.serviceClearSync, "secret_service_clear_sync") &&
        Bind(library, calls.itemGetAttributes, "secret_item_get_attributes") &&
        Bind(library, calls.itemGetSecret, "secret_item_get_secret") &&
        Bind(library, calls.itemDeleteSync, "secret_item_delete_sync") &&
        Bind(library, calls.valueNew, "secret_value_new") &&
        Bind(library, calls.valueGet, "secret_value_get") &&
        Bind(library, calls.valueUnref, "secret_value_unref") &&
        Bind(library, calls.objectUnref, "g_object_unref") &&
        Bind(library, calls.errorFree, "g_error_free") && Bind(library, calls.free, "g_free") &&
        Bind(library, calls.strndup, "g_strndup") && Bind(library, calls.strHash, "g_str_hash") &&
        Bind(library, calls.strEqual, "g_str_equal") &&
        Bind(library, calls.hashTableNewFull, "g_hash_table_new_full") &&
        Bind(library, calls.hashTableInsert, "g_hash_table_insert") &&
        Bind(library, calls.hashTableLookup, "g_hash_table_lookup") &&
        Bind(library, calls.hashTableUnref, "g_hash_table_unref") &&
        Bind(library, calls.listFreeFull, "g_list_free_full") &&
        Bind(library, calls.cancellableNew, "g_cancellable_new") &&
        Bind(library, calls.cancellableCancel, "g_cancellable_cancel") &&
        Bind(library, calls.cancellableIsCancelled, "g_cancellable_is_cancelled");
    if (!complete) {
        dlclose(library);
        return std::nullopt;
    }
    return calls;
}

}  // namespace

const SecretLibrary* LoadSecretLibrary() {
    static const std::optional<SecretLibrary> loaded = Load();
    return loaded ? &*loaded : nullptr;
}

}  // namespace lanterna::keyring
