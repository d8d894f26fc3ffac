.pragma library

// What the layout details pop-up accepts in its text fields.

// Names separated by ","; each starts with a letter or digit and goes on with letters, digits and blanks.
var usersPattern = /^[A-Za-z0-9][A-Za-z0-9 ]*(,[A-Za-z0-9][A-Za-z0-9 ]*)*$/

// A scene is a number, a range "a-b" or a name in double quotes; a name may
// hold "," itself, so the list is matched as a whole rather than split.
var sceneName = '"(?:[\\w @~`!#$%^&*()\\-+={}\\[\\]?/:;\'<>,.|]|\\\\\\\\|\\\\"|\\\\\\*)+"'
var sceneEntry = "(?:[0-9]+(?:-[0-9]+)?|" + sceneName + ")"
var scenesPattern = new RegExp("^" + sceneEntry + "(?:," + sceneEntry + ")*$")

// 1 to 99 without a leading zero.
var aspectPattern = /^[1-9][0-9]?$/

function usersAcceptable(text) { return usersPattern.test(text) }
function scenesAcceptable(text) { return scenesPattern.test(text) }
function aspectAcceptable(text) { return aspectPattern.test(text) }
