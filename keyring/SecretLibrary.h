#pragma once
// libsecret, and the GLib calls the keyring store makes, loaded with dlopen on the first use of
// the keyring rather than linked: a program that never opens the keyring (lanternactl read, say)
// then never maps libsecret, GIO, GObject and GLib, nor runs their start-up. Internal to the
// keyring library: GLib types stay here.
//
// The declarations come from libsecret's headers, so each call keeps its exact type.

#include <libsecret/secret.h>

namespace lanterna::keyring {

struct SecretLibrary {
    decltype(&secret_service_get_sync) serviceGetSync;
    decltype(&secret_service_search_sync) serviceSearchSync;
    decltype(&secret_service_store_sync) serviceStoreSync;
    decltype(&secret_service_clear_sync) serviceClearSync;
    decltype(&secret_item_get_attributes) itemGetAttributes;
    decltype(&secret_item_get_secret) itemGetSecret;
    decltype(&secret_item_delete_sync) itemDeleteSync;
    decltype(&secret_value_new) valueNew;
    decltype(&secret_value_get) valueGet;
    decltype(&secret_value_unref) valueUnref;
    decltype(&g_object_unref) objectUnref;
    decltype(&g_error_free) errorFree;
    decltype(&g_free) free;
    decltype(&g_strndup) strndup;
    decltype(&g_str_hash) strHash;
    decltype(&g_str_equal) strEqual;
    decltype(&g_hash_table_new_full) hashTableNewFull;
    decltype(&g_hash_table_insert) hashTableInsert;
    decltype(&g_hash_table_lookup) hashTableLookup;
    decltype(&g_hash_table_unref) hashTableUnref;
    decltype(&g_list_free_full) listFreeFull;
    decltype(&g_cancellable_new) cancellableNew;
    decltype(&g_cancellable_cancel) cancellableCancel;
    decltype(&g_cancellable_is_cancelled) cancellableIsCancelled;
};

// The soname loaded; the package depends on the library that provides it.
inline constexpr const char* kSecretLibraryName = "libsecret-1.so.0";

// Thread-safe. Loads the library on the first call and keeps it loaded for the process's life
// (GLib does not support being unloaded). Null when it is missing or lacks a call.
const SecretLibrary* LoadSecretLibrary();

}  // namespace lanterna::keyring
