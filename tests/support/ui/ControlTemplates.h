#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "ui/DialogTemplate.h"

namespace uitest {

// One control of a test template, in the order a template's table lists its columns.
inline ui::ControlTemplate MakeControl(int id, ui::ControlKind kind, ui::DluRect rect,
                                       std::uint32_t styles = 0, std::string text = {}) {
    ui::ControlTemplate control;
    control.id = id;
    control.kind = kind;
    control.rect = rect;
    control.styles = styles;
    control.text = std::move(text);
    return control;
}

}  // namespace uitest
