// Custom objects as JScript meets them: properties made by assignment, kinds kept,
// undefined for names never written, for...in in creation order, delete,
// prototypes with CopyOnChange, and the exact failures of IFM and _CreateInstance.
var expectedChecks = 29;
var checks = 0, failures = 0;

function check(description, passed) {
    checks++;
    if (passed) {
        WScript.Echo("ok - " + description);
    } else {
        failures++;
        WScript.Echo("not ok - " + description);
    }
}

function hex(number) {
    return "0x" + (number >>> 0).toString(16).toUpperCase();
}

// Runs one group of checks; an error thrown inside is one failed check.
function group(name, body) {
    try {
        body();
    } catch (e) {
        check(name + " threw " + hex(e.number) + " " + e.description, false);
    }
}

var o = null, p = null;
group("creating", function () {
    o = new ActiveXObject("dax64.CustomObject");
    check("new ActiveXObject(\"dax64.CustomObject\") succeeds", true);
});

group("expandos", function () {
    o.Count = 5;
    o.Ratio = 1.5;
    o.Name = "COM1";
    o.Enabled = true;
    check("Count reads 5 (" + o.Count + ")", o.Count === 5);
    check("Ratio reads 1.5 (" + o.Ratio + ")", o.Ratio === 1.5);
    check("Name reads \"COM1\"", o.Name === "COM1");
    check("Enabled reads true", o.Enabled === true);
    check("a name never written reads undefined (" + typeof o.NeverWritten + ")",
          typeof o.NeverWritten === "undefined");
});

group("enumeration", function () {
    var names = [];
    for (var k in o)
        names.push(k);
    check("for...in lists Count,Ratio,Name,Enabled (" + names.join(",") + ")",
          names.join(",") === "Count,Ratio,Name,Enabled");
    delete o.Ratio;
    check("after delete o.Ratio reads undefined", typeof o.Ratio === "undefined");
    names = [];
    for (var k2 in o)
        names.push(k2);
    check("and for...in no longer lists it (" + names.join(",") + ")",
          names.join(",") === "Count,Name,Enabled");
    o.Ratio = 2.5;
    check("assigning makes it anew (" + o.Ratio + ")", o.Ratio === 2.5);
});

group("prototypes", function () {
    p = new ActiveXObject("dax64.CustomObject");
    p.A = 1;
    p.B = 7;
    var c = p._CreateInstance(p);
    check("_CreateInstance(p) makes an object that reads A from p (" + c.A + ")", c.A === 1);
    check("its Prototype is p", c.Prototype === p);
    c.A = 2;
    check("with CopyOnChange clear a write reaches the prototype (p.A " + p.A + ")", p.A === 2);
    check("Class.CopyOnChange reads false", c.Class.CopyOnChange === false);
    c.Class.CopyOnChange = true;
    check("Class.CopyOnChange can be set", c.Class.CopyOnChange === true);
    c.A = 3;
    check("with CopyOnChange set the object gets its own A (" + c.A + ")", c.A === 3);
    check("and the prototype keeps its value (" + p.A + ")", p.A === 2);
    var k = c.Clone();
    check("a clone keeps CopyOnChange", k.Class.CopyOnChange === true);
    k.B = 8;
    check("and writes a borrowed property into its own copy (p.B " + p.B + ", k.B " + k.B + ")",
          p.B === 7 && k.B === 8);
    var n = p._CreateInstance(null);
    check("_CreateInstance(null) makes an object without prototype", n.Prototype === null);
});

group("descriptor collections", function () {
    var c = new ActiveXObject("dax64.CustomObject");
    c.Colour = "red";
    c.Size = 3;
    var names = [];
    for (var e = new Enumerator(c.Class.Properties); !e.atEnd(); e.moveNext())
        names.push(e.item().Name);
    check("an Enumerator walks Class.Properties (" + names.join(",") + ")",
          names.length === c.Class.Properties.Count && names.join(",").indexOf("Colour,") >= 0);
    var properties = c.Class.Properties;
    check("a collection called with an index gives the item (" + properties(2).Name + ")",
          properties(2).Name === names[1]);
    check("and called with a name gives the item of that name",
          properties("size").Name === "Size");
});

group("_CreateInstance with two arguments", function () {
    try {
        o._CreateInstance(1, 2);
        check("_CreateInstance(1, 2) fails", false);
    } catch (e) {
        check("_CreateInstance(1, 2) fails with 0x8002000E (" + hex(e.number) + ")",
              (e.number >>> 0) === 0x8002000E);
    }
});

group("IFM", function () {
    var d = new ActiveXObject("dax64.DaxCustomObject");
    d.Code = "AB-12";
    d.Class.Properties("Code").IFM = "LL-00";
    try {
        d.Code = "12-AB";
        check("a value that does not match the IFM is refused", false);
    } catch (e) {
        check("a value that does not match is refused with 0xA2100010 (" + hex(e.number) + ")",
              (e.number >>> 0) === 0xA2100010);
        check("described as " + e.description,
              e.description === "Value \"12-AB\" does not match IFM \"LL-00\"");
    }
    check("the old value stays (" + d.Code + ")", d.Code === "AB-12");
    var copy = d.Clone();
    try {
        copy.Code = "12-AB";
        check("a clone keeps the IFM", false);
    } catch (e) {
        check("a clone keeps the IFM (" + hex(e.number) + ")", (e.number >>> 0) === 0xA2100010);
    }
    copy.Code = "CD-34";
    check("and takes a matching value (" + copy.Code + ")", copy.Code === "CD-34");
});

o = null;
p = null;
if (failures === 0 && checks === expectedChecks) {
    WScript.Echo("verdict: passed (" + checks + " checks)");
} else {
    WScript.Echo("verdict: failed (" + failures + " of " + checks + " checks, " + expectedChecks +
                 " expected)");
    if (failures === 0)
        failures = 1;
}
WScript.Quit(failures);
