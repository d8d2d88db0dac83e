' The COM server as VBScript meets it: a registered class is created by its ProgID,
' an unregistered ProgID fails cleanly.
Option Explicit
Const kExpectedChecks = 5
Dim checks, failures
checks = 0
failures = 0

Sub Check(description, passed)
    checks = checks + 1
    If passed Then
        WScript.Echo "ok - " & description
    Else
        failures = failures + 1
        WScript.Echo "not ok - " & description
    End If
End Sub

On Error Resume Next

Dim probe, answer, number
Set probe = CreateObject("dax64.ServerProbe")
number = Err.Number
Err.Clear
Check "CreateObject(""dax64.ServerProbe"") succeeds (Err.Number " & number & ")", number = 0
answer = Empty
answer = probe.Answer
Check "its Answer reads 42 (read " & answer & ")", answer = 42
Set probe = Nothing

Dim missing
missing = Empty
Set missing = CreateObject("dax64.NoSuchClass")
number = Err.Number
Err.Clear
Check "CreateObject of an unregistered ProgID fails with 429 (Err.Number " & number & ")", number = 429
Check "and gives no object", IsEmpty(missing)

Set probe = CreateObject("dax64.ServerProbe")
answer = Empty
answer = probe.Answer
Check "a second object after the first was dropped works as well", answer = 42
Set probe = Nothing

If failures = 0 And checks = kExpectedChecks Then
    WScript.Echo "verdict: passed (" & checks & " checks)"
Else
    WScript.Echo "verdict: failed (" & failures & " of " & checks & " checks, " & kExpectedChecks & " expected)"
    If failures = 0 Then failures = 1
End If
WScript.Quit failures
