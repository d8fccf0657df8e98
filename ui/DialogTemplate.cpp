#include "ui/DialogTemplate.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "resources/dialogs/TemplateResource.h"
#include "ui/Text.h"

namespace ui {
namespace {

struct NamedBit {
    const char* name;
    std::uint32_t bit;
};

constexpr std::array kControlStyleNames{
    NamedBit{"hidden", ControlStyle::Hidden},
    NamedBit{"disabled", ControlStyle::Disabled},
    NamedBit{"default", ControlStyle::Default},
    NamedBit{"password", ControlStyle::Password},
    NamedBit{"digits", ControlStyle::Digits},
    NamedBit{"group", ControlStyle::Group},
    NamedBit{"threestate", ControlStyle::ThreeState},
    NamedBit{"manual", ControlStyle::Manual},
    NamedBit{"notabstop", ControlStyle::NoTabStop},
    NamedBit{"readonly", ControlStyle::ReadOnly},
    NamedBit{"center", ControlStyle::Center},
    NamedBit{"right", ControlStyle::Right},
    NamedBit{"multiline", ControlStyle::Multiline},
    NamedBit{"flat", ControlStyle::Flat},
    NamedBit{"smooth", ControlStyle::Smooth},
    NamedBit{"acceptfiles", ControlStyle::AcceptFiles},
};

constexpr std::array kDialogStyleNames{
    NamedBit{"caption", DialogStyle::Caption},       NamedBit{"sysmenu", DialogStyle::SysMenu},
    NamedBit{"minbox", DialogStyle::MinimizeBox},    NamedBit{"maxbox", DialogStyle::MaximizeBox},
    NamedBit{"toolwindow", DialogStyle::ToolWindow}, NamedBit{"resizable", DialogStyle::Resizable},
};

constexpr std::array kAnchorNames{
    NamedBit{"right", Anchor::Right},
    NamedBit{"bottom", Anchor::Bottom},
    NamedBit{"wide", Anchor::Wide},
    NamedBit{"tall", Anchor::Tall},
};

struct NamedKind {
    const char* name;
    ControlKind kind;
};

constexpr std::array kKindNames{
    NamedKind{"button", ControlKind::Button},
    NamedKind{"defbutton", ControlKind::DefaultButton},
    NamedKind{"label", ControlKind::Label},
    NamedKind{"edit", ControlKind::Edit},
    NamedKind{"check", ControlKind::CheckBox},
    NamedKind{"radio", ControlKind::RadioButton},
    NamedKind{"group", ControlKind::GroupBox},
    NamedKind{"icon", ControlKind::Icon},
    NamedKind{"ipaddress", ControlKind::IpAddress},
    NamedKind{"listview", ControlKind::ListView},
    NamedKind{"progress", ControlKind::ProgressBar},
    NamedKind{"hline", ControlKind::Separator},
    NamedKind{"combo", ControlKind::ComboBox},
    NamedKind{"table", ControlKind::Table},
};

template <std::size_t N>
bool ReadStyles(const QJsonValue& value, const std::array<NamedBit, N>& names, std::uint32_t& bits,
                std::string& error) {
    if (value.isUndefined()) {
        return true;
    }
    if (!value.isArray()) {
        error = "\"style\" must be an array of names";
        return false;
    }
    for (const QJsonValue& entry : value.toArray()) {
        const QString name = entry.toString();
        bool known = false;
        for (const NamedBit& named : names) {
            if (name == QLatin1String(named.name)) {
                bits |= named.bit;
                known = true;
            }
        }
        if (!known) {
            error = "unknown style \"" + ToUtf8(name) + "\"";
            return false;
        }
    }
    return true;
}

bool ReadInts(const QJsonValue& value, int count, int* out) {
    if (!value.isArray() || value.toArray().size() != count) {
        return false;
    }
    const QJsonArray array = value.toArray();
    for (int index = 0; index < count; ++index) {
        if (!array[index].isDouble()) {
            return false;
        }
        out[index] = array[index].toInt();
    }
    return true;
}

bool OnlyKeys(const QJsonObject& object, std::initializer_list<const char*> allowed,
              std::string& error) {
    for (const QString& key : object.keys()) {
        bool known = false;
        for (const char* name : allowed) {
            known = known || key == QLatin1String(name);
        }
        if (!known) {
            error = "unknown key \"" + ToUtf8(key) + "\"";
            return false;
        }
    }
    return true;
}

// The value of `key`, or of its English counterpart `key`_en when reading English and the
// template has one.
QJsonValue InLanguage(const QJsonObject& object, const char* key, lanterna::Language language) {
    if (language == lanterna::Language::English) {
        const QJsonValue english = object.value(QLatin1String(key) + QStringLiteral("_en"));
        if (!english.isUndefined()) {
            return english;
        }
    }
    return object.value(QLatin1String(key));
}

// An English text stands beside a text and in its form: "text_en" only with "text", as many
// "items_en" as "items", no English text left empty where the Korean one has words.
bool CheckEnglishBeside(const QJsonObject& object, const char* key, std::string& error) {
    const QString englishKey = QLatin1String(key) + QStringLiteral("_en");
    if (!object.contains(englishKey)) {
        return true;
    }
    const QJsonValue korean = object.value(QLatin1String(key));
    const QJsonValue english = object.value(englishKey);
    bool fits = !korean.isUndefined() && korean.type() == english.type();
    if (fits && korean.isString()) {
        fits = korean.toString().isEmpty() == english.toString().isEmpty();
    } else if (fits && korean.isArray()) {
        fits = korean.toArray().size() == english.toArray().size();
    }
    if (!fits) {
        error = "\"" + ToUtf8(englishKey) + "\" does not match \"" + key + "\"";
    }
    return fits;
}

bool ReadControl(const QJsonObject& object, lanterna::Language language, ControlTemplate& control,
                 std::string& error) {
    if (!OnlyKeys(object,
                  {"id", "kind", "text", "rect", "style", "limit", "image", "items", "name",
                   "anchor", "text_en", "rect_en", "items_en", "name_en"},
                  error)) {
        return false;
    }
    for (const char* key : {"text", "rect", "items", "name"}) {
        if (!CheckEnglishBeside(object, key, error)) {
            return false;
        }
    }
    control.id = object.value(QStringLiteral("id")).toInt(kStaticId);
    const QString kind = object.value(QStringLiteral("kind")).toString();
    bool knownKind = false;
    for (const NamedKind& named : kKindNames) {
        if (kind == QLatin1String(named.name)) {
            control.kind = named.kind;
            knownKind = true;
        }
    }
    if (!knownKind) {
        error = "unknown kind \"" + ToUtf8(kind) + "\"";
        return false;
    }
    control.text = ToUtf8(InLanguage(object, "text", language).toString());
    control.accessibleName = ToUtf8(InLanguage(object, "name", language).toString());
    int rect[4] = {};
    if (!ReadInts(InLanguage(object, "rect", language), 4, rect) || rect[0] < 0 || rect[1] < 0 ||
        rect[2] < 0 || rect[3] < 0) {
        error = "\"rect\" must be four non-negative numbers";
        return false;
    }
    control.rect = DluRect{rect[0], rect[1], rect[2], rect[3]};
    if (!ReadStyles(object.value(QStringLiteral("style")), kControlStyleNames, control.styles,
                    error)) {
        return false;
    }
    if (!ReadStyles(object.value(QStringLiteral("anchor")), kAnchorNames, control.anchors, error)) {
        return false;
    }
    control.textLimit = object.value(QStringLiteral("limit")).toInt(0);
    control.image = object.value(QStringLiteral("image")).toInt(0);
    for (const QJsonValue& item : InLanguage(object, "items", language).toArray()) {
        control.items.push_back(ToUtf8(item.toString()));
    }
    if (control.kind == ControlKind::DefaultButton) {
        control.styles |= ControlStyle::Default;
    }
    if (control.textLimit < 0) {
        error = "\"limit\" must not be negative";
        return false;
    }
    return true;
}

// The templates of one language.
struct LanguageStore {
    std::map<int, const DialogTemplate*> byId;
    std::vector<std::string> errors;
    bool loaded = false;
};

struct Store {
    std::mutex mutex;
    std::vector<std::unique_ptr<DialogTemplate>> owned;  // never shrinks: pointers stay valid
    std::array<LanguageStore, 2> languages;
};

std::size_t IndexOf(lanterna::Language language) {
    return language == lanterna::Language::Korean ? 0 : 1;
}

Store& TheStore() {
    static Store store;
    return store;
}

void LoadCompiledTemplates(Store& store, lanterna::Language language) {
    LanguageStore& loaded = store.languages[IndexOf(language)];
    lanterna_resources::InitialiseDialogTemplates();
    const QDir folder(QStringLiteral(":/dialogs"));
    const QStringList files = folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            loaded.errors.push_back(ToUtf8(name) + ": cannot be opened");
            continue;
        }
        auto dialogTemplate = std::make_unique<DialogTemplate>();
        std::string error;
        if (!ParseDialogTemplate(file.readAll(), *dialogTemplate, error, language)) {
            loaded.errors.push_back(ToUtf8(name) + ": " + error);
            continue;
        }
        if (loaded.byId.count(dialogTemplate->id) != 0) {
            loaded.errors.push_back(ToUtf8(name) + ": template id used twice");
            continue;
        }
        loaded.byId[dialogTemplate->id] = dialogTemplate.get();
        store.owned.push_back(std::move(dialogTemplate));
    }
}

// The templates of `language`, read on first use. Called with the store's mutex held.
LanguageStore& LoadedStore(Store& store, lanterna::Language language) {
    LanguageStore& loaded = store.languages[IndexOf(language)];
    if (!loaded.loaded) {
        loaded.loaded = true;
        LoadCompiledTemplates(store, language);
    }
    return loaded;
}

}  // namespace

const ControlTemplate* DialogTemplate::FindControl(int controlId) const {
    for (const ControlTemplate& control : controls) {
        if (control.id == controlId) {
            return &control;
        }
    }
    return nullptr;
}

bool ParseDialogTemplate(const QByteArray& json, DialogTemplate& result, std::string& error,
                         lanterna::Language language) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull() || !document.isObject()) {
        error = "not a JSON object: " + ToUtf8(parseError.errorString());
        return false;
    }
    const QJsonObject object = document.object();
    if (!OnlyKeys(object, {"id", "caption", "size", "style", "controls", "caption_en", "size_en"},
                  error) ||
        !CheckEnglishBeside(object, "caption", error) ||
        !CheckEnglishBeside(object, "size", error)) {
        return false;
    }
    DialogTemplate parsed;
    parsed.id = object.value(QStringLiteral("id")).toInt(0);
    if (parsed.id <= 0) {
        error = "\"id\" must be a positive number";
        return false;
    }
    parsed.caption = ToUtf8(InLanguage(object, "caption", language).toString());
    int size[2] = {};
    if (!ReadInts(InLanguage(object, "size", language), 2, size) || size[0] <= 0 || size[1] <= 0) {
        error = "\"size\" must be two positive numbers";
        return false;
    }
    parsed.width = size[0];
    parsed.height = size[1];
    if (!ReadStyles(object.value(QStringLiteral("style")), kDialogStyleNames, parsed.styles,
                    error)) {
        return false;
    }
    QSet<int> ids;
    const QJsonArray controls = object.value(QStringLiteral("controls")).toArray();
    for (qsizetype index = 0; index < controls.size(); ++index) {
        ControlTemplate control;
        if (!controls[index].isObject() ||
            !ReadControl(controls[index].toObject(), language, control, error)) {
            error = "control " + std::to_string(index) + ": " +
                    (error.empty() ? std::string("not an object") : error);
            return false;
        }
        if (control.id != kStaticId && ids.contains(control.id)) {
            error = "control id " + std::to_string(control.id) + " used twice";
            return false;
        }
        ids.insert(control.id);
        parsed.controls.push_back(std::move(control));
    }
    result = std::move(parsed);
    return true;
}

const DialogTemplate* FindDialogTemplate(int id) {
    return FindDialogTemplate(id, lanterna::UserLanguage());
}

const DialogTemplate* FindDialogTemplate(int id, lanterna::Language language) {
    Store& store = TheStore();
    const std::lock_guard lock(store.mutex);
    const auto& byId = LoadedStore(store, language).byId;
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : found->second;
}

std::vector<int> DialogTemplateIds() {
    Store& store = TheStore();
    const std::lock_guard lock(store.mutex);
    std::vector<int> ids;
    for (const auto& [id, dialogTemplate] : LoadedStore(store, lanterna::Language::Korean).byId) {
        ids.push_back(id);
    }
    return ids;
}

std::vector<std::string> DialogTemplateErrors() {
    Store& store = TheStore();
    const std::lock_guard lock(store.mutex);
    std::vector<std::string> errors;
    for (const lanterna::Language language :
         {lanterna::Language::Korean, lanterna::Language::English}) {
        const std::vector<std::string>& found = LoadedStore(store, language).errors;
        for (const std::string& error : found) {
            errors.push_back(std::string(lanterna::LanguageCode(language)) + ": " + error);
        }
    }
    return errors;
}

void RegisterDialogTemplate(DialogTemplate dialogTemplate) {
    Store& store = TheStore();
    const std::lock_guard lock(store.mutex);
    auto owned = std::make_unique<DialogTemplate>(std::move(dialogTemplate));
    for (const lanterna::Language language :
         {lanterna::Language::Korean, lanterna::Language::English}) {
        LoadedStore(store, language).byId[owned->id] = owned.get();
    }
    store.owned.push_back(std::move(owned));
}

const char* ControlKindName(ControlKind kind) {
    for (const NamedKind& named : kKindNames) {
        if (named.kind == kind) {
            return named.name;
        }
    }
    return "?";
}

}  // namespace ui
