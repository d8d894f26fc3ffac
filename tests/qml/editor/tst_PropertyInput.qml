import QtQuick 2.12
import QtTest 1.12
import "qrc:/Properties/PropertyInput.js" as Input

// How typed text is read for each property type, and which pictures the
// image picker offers for each widget type.
TestCase {
    name: "PropertyInput"

    function test_typedText_data() {
        var T = Input.Type
        var fraction = { low: 0.000999, high: 2 }
        var ints = { low: 1, high: 10 }
        return [
            { tag: "percent", type: T.SizeFraction, text: "50", rejected: false, write: true, value: 0.5 },
            { tag: "percent above", type: T.SizeFraction, text: "250", rejected: true, write: false },
            { tag: "percent text", type: T.SizeFraction, text: "abc", rejected: true, write: false },
            { tag: "int", type: T.Int, text: " 7 ", rejected: false, write: false, value: 7 },
            { tag: "int above", type: T.Int, text: "12", rejected: true, write: false },
            { tag: "int letters", type: T.Int, text: "3x", rejected: true, write: false },
            { tag: "int point", type: T.Int, text: "3.", rejected: true, write: false },
            { tag: "int empty", type: T.Int, text: "", rejected: true, write: false },
            { tag: "float", type: T.Float, text: "-2.5e1", rejected: false, write: true, value: -25 },
            { tag: "float text", type: T.Float, text: "2,5", rejected: true, write: false },
            { tag: "float empty", type: T.Float, text: "", rejected: true, write: false },
            { tag: "string empty", type: T.String, string: true, text: "", rejected: false, write: true, value: "" },
            { tag: "plain empty", type: undefined, text: "", rejected: false, write: false },
            { tag: "plain text", type: undefined, text: "a", rejected: false, write: true, value: "a" }
        ].map(function(row) {
            row.bounds = row.type === T.Int ? ints : fraction
            return row
        })
    }

    function test_typedText(data) {
        var result = Input.read(data.type, data.string === true, data.text, data.bounds)
        compare(result.rejected, data.rejected)
        compare(result.write, data.write)
        if (typeof data.value === "number")
            fuzzyCompare(result.value, data.value, 1e-9)
        else if (data.value !== undefined)
            compare(result.value, data.value)
    }

    function test_imagePatterns_data() {
        return [
            { tag: "button on, theme 3", type: "zrnet_button", sub: "on", theme: 2, onOff: "on",
              shown: ["_basic", "default_th_2_btn_on_4", "17"], hidden: ["default_th_1_btn_on_0", "_default"] },
            { tag: "rotary background", type: "zrnet_rotary", sub: "background", theme: 0, onOff: "on",
              shown: ["default_gen_rotary_0", "123"], hidden: ["default_th_0_rotary_pointer_0", "_basic"] },
            { tag: "rotary other image", type: "zrnet_rotary", sub: "", theme: 0, onOff: "on",
              shown: [], hidden: ["1", "_basic"] },
            { tag: "colour-band meter", type: "zrnet_chrom_meter", sub: "", theme: 1, onOff: "on",
              shown: ["_basic", "default_th_1_led_on_3"], hidden: ["5", "default_th_1_led_off_3"] },
            { tag: "mixed selection", type: "multiple", sub: "", theme: 0, onOff: "on",
              shown: ["1", "42", "1234"], hidden: ["_basic", "default_th_0_btn_on_0"] },
            { tag: "image", type: "image", sub: "", theme: 0, onOff: "on",
              shown: ["_default", "77"], hidden: ["_basic"] }
        ]
    }

    function test_imagePatterns(data) {
        var pattern = Input.imageFilterPattern(data.type, data.sub, data.theme, data.onOff)
        var accepts = function(id) { return pattern !== "" && new RegExp(pattern).test(id) }
        for (var i = 0; i < data.shown.length; ++i)
            verify(accepts(data.shown[i]), data.shown[i])
        for (var j = 0; j < data.hidden.length; ++j)
            verify(!accepts(data.hidden[j]), data.hidden[j])
    }

    function test_subCategories() {
        compare(Input.imageSubCategory("On Image"), "on")
        compare(Input.imageSubCategory("Knob Image"), "control")
        compare(Input.imageSubCategory("Image"), "")
    }
}
