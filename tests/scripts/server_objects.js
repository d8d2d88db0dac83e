// The COM server as JScript meets it: a registered class is created by its ProgID,
// an unregistered ProgID fails cleanly.
var expectedChecks = 4;
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

try {
    var probe = new ActiveXObject("dax64.ServerProbe");
    check("new ActiveXObject(\"dax64.ServerProbe\") succeeds", true);
    check("its Answer reads 42 (read " + probe.Answer + ")", probe.Answer === 42);
    probe = null;
} catch (e) {
    check("creating dax64.ServerProbe threw " + hex(e.number) + " " + e.description, false);
}

try {
    var missing = new ActiveXObject("dax64.NoSuchClass");
    check("new ActiveXObject of an unregistered ProgID fails", false);
} catch (e) {
    check("new ActiveXObject of an unregistered ProgID fails (" + hex(e.number) + ")", true);
    check("with \"Automation server can't create object\" (0x800A01AD)",
          (e.number >>> 0) === 0x800A01AD);
}

if (failures === 0 && checks === expectedChecks) {
    WScript.Echo("verdict: passed (" + checks + " checks)");
} else {
    WScript.Echo("verdict: failed (" + failures + " of " + checks + " checks, " + expectedChecks +
                 " expected)");
    if (failures === 0)
        failures = 1;
}
WScript.Quit(failures);
