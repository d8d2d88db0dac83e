' Custom objects as VBScript meets them: properties made by assignment (VBScript
' never asks to ensure a name), kinds kept, Empty for names never written, typed
' properties, and the IFM of format-checked objects with the exact refusal.
Option Explicit
Const kExpectedChecks = 25
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

Function Hex8(number)
    Hex8 = "&H" & Right("00000000" & Hex(number), 8)
End Function

On Error Resume Next

Dim o, other, number, description, source, value
Set o = CreateObject("dax64.CustomObject")
Check "CreateObject(""dax64.CustomObject"") succeeds (Err.Number " & Err.Number & ")", Err.Number = 0
Err.Clear

o.Count = 5
o.Ratio = 1.5
o.Name = "COM1"
o.Enabled = True
o.When = DateSerial(2026, 12, 6)
Set other = CreateObject("dax64.CustomObject")
Set o.Peer = other
Check "assignments to new names succeed (Err.Number " & Err.Number & ")", Err.Number = 0
Err.Clear
Check "Count reads 5 as the Integer it was given (VarType " & VarType(o.Count) & ")", o.Count = 5 And VarType(o.Count) = vbInteger
Check "Ratio reads 1.5 as a Double (VarType " & VarType(o.Ratio) & ")", o.Ratio = 1.5 And VarType(o.Ratio) = vbDouble
Check "Name reads COM1 as a String", o.Name = "COM1" And VarType(o.Name) = vbString
Check "Enabled reads True as a Boolean", o.Enabled = True And VarType(o.Enabled) = vbBoolean
Check "When reads the date as a Date", o.When = DateSerial(2026, 12, 6) And VarType(o.When) = vbDate
Check "Peer holds the object", IsObject(o.Peer)
Check "names ignore letter case (COUNT reads " & o.COUNT & ")", o.COUNT = 5

value = o.NeverWritten
Check "a name never written reads Empty without error (Err.Number " & Err.Number & ")", IsEmpty(value) And Err.Number = 0
Err.Clear
Check "another object of the class has none of these properties", IsEmpty(other.Count)
Check "the first property made has the id &H40000000 (" & Hex8(o.Class.DispId("Count")) & ")", o.Class.DispId("Count") = &H40000000
Check "DisplayName is the property's name", o.Class.Properties("Count").DisplayName = "Count"
Check "CopyOnChange starts False", o.Class.CopyOnChange = False

Dim member, walked
walked = 0
For Each member In o.Class.Properties
    If Len(member.DisplayName) > 0 Then walked = walked + 1
Next
Check "For Each walks Class.Properties (" & walked & " items)", walked = o.Class.Properties.Count And walked > 0
Check "Class.Members(""Count"") is the property's descriptor", o.Class.Members("Count").DisplayName = "Count"

o.Class.Properties("Count").PropertyType = 3
o.Count = "42"
Check "PropertyType 3 makes later writes Longs (VarType " & VarType(o.Count) & ")", o.Count = 42 And VarType(o.Count) = vbLong
Err.Clear

' Format-checked objects.
Dim d
Set d = CreateObject("dax64.DaxCustomObject")
Check "CreateObject(""dax64.DaxCustomObject"") succeeds (Err.Number " & Err.Number & ")", Err.Number = 0
Err.Clear
d.Code = "free text"
d.Class.Properties("Code").IFM = "LL-00"
Check "IFM reads the mask back", d.Class.Properties("Code").IFM = "LL-00"
Err.Clear
d.Code = "A1-23"
number = Err.Number
description = Err.Description
source = Err.Source
Err.Clear
Check "a value that does not match is refused with &HA2100010 (" & Hex8(number) & ")", number = &HA2100010
Check "described as " & description, description = "Value ""A1-23"" does not match IFM ""LL-00"""
Check "from " & source, source = "Ostrel.Zam.DaxCustomObject.Property.DoSetValue"
Check "the old value stays (" & d.Code & ")", d.Code = "free text"
d.Code = "AB-12"
Check "a matching value is stored (Err.Number " & Err.Number & ", " & d.Code & ")", Err.Number = 0 And d.Code = "AB-12"
Err.Clear
d.Class.Properties("Code").IFM = ""
d.Code = "anything"
Check "an empty mask switches the check off", Err.Number = 0 And d.Code = "anything"
Err.Clear

Set o = Nothing
Set other = Nothing
Set d = Nothing

If failures = 0 And checks = kExpectedChecks Then
    WScript.Echo "verdict: passed (" & checks & " checks)"
Else
    WScript.Echo "verdict: failed (" & failures & " of " & checks & " checks, " & kExpectedChecks & " expected)"
    If failures = 0 Then failures = 1
End If
WScript.Quit failures
