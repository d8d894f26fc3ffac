.pragma library

// How the property editors read what the user typed, and which pictures the
// image picker offers.

// The property types as ePropertyType numbers them.
var Type = { Int: 0, Float: 1, String: 2, Combo: 3, Group: 4, TextBlock: 5, Image: 6, Colour: 7, Font: 8,
             SizeFraction: 9 }

var integerText = /^\s*[+-]?\d+\s*$/
var numberText = /^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$/

// What a one-line field does with its text: { rejected, write, value }.
// An Int is only checked here; it is written when the edit is finished.
function read(groupType, isString, text, bounds) {
    if (groupType === Type.SizeFraction) {
        var percent = parseFloat(text)
        var fraction = percent / 100
        if (isNaN(percent) || fraction < bounds.low || fraction > bounds.high)
            return { rejected: true, write: false }
        return { rejected: false, write: true, value: fraction }
    }
    if (groupType === Type.Int) {
        if (!integerText.test(text))
            return { rejected: true, write: false }
        var number = parseInt(text, 10)
        if (number < bounds.low || number > bounds.high)
            return { rejected: true, write: false }
        return { rejected: false, write: false, value: number }
    }
    if (groupType === Type.Float) {
        if (!numberText.test(text) || !isFinite(Number(text)))
            return { rejected: true, write: false }
        return { rejected: false, write: true, value: Number(text) }
    }
    return { rejected: false, write: isString || text !== "", value: text }
}

// Marks the types whose field shows the red "!".
function checksInput(groupType) {
    return groupType === Type.Int || groupType === Type.Float || groupType === Type.SizeFraction
}

function imageSubCategory(propertyName) {
    switch (propertyName) {
    case "On Image": return "on"
    case "Off Image": return "off"
    case "Knob Image": return "control"
    case "Background Image": return "background"
    }
    return ""
}

// The ids the image picker shows, as a regular expression; "" shows nothing.
// theme is 0 to 4, onOff "on" or "off".
function imageFilterPattern(selectionType, subCategory, theme, onOff) {
    var t = "" + theme
    switch (selectionType) {
    case "image":
        return "^(\\d+|_default)$"
    case "tab_container":
    case "zrnet_grmeter":
    case "zrnet_meter":
        return "^(\\d+|_basic)$"
    case "zrnet_button":
        return "^(_basic|default_th_" + t + "_btn_" + onOff + "_\\d+|\\d+)$"
    case "zrnet_led":
        return "^(_basic|default_th_" + t + "_led_" + onOff + "_\\d+|\\d+)$"
    case "zrnet_chrom_meter":
        return "^(_basic|default_th_" + t + "_led_on_\\d+)$"
    case "zrnet_rotary":
        if (subCategory === "control")
            return "^(default_th_" + t + "_rotary_pointer_\\d+|\\d+)$"
        if (subCategory === "background")
            return "^(default_th_" + t + "_rotary_\\d+|default_gen_rotary_\\d+|\\d+)$"
        return ""
    case "zrnet_fader":
        if (subCategory === "control")
            return "^(default_th_" + t + "_fader_control_\\d+|\\d+)$"
        if (subCategory === "background")
            return "^(default_th_" + t + "_fader_\\d+|default_gen_fader_\\d+|\\d+)$"
        return ""
    case "multiple":
        return "^\\d+$"
    }
    return ""
}
