#!/usr/bin/env bash
# Writes staff.xlsx and staff.ods from staff.fods with a real spreadsheet program (LibreOffice Calc,
# Debian's libreoffice-calc-nogui), as a clerk's program saves them, and locked.ods, the same saved
# with the password 1234. Run by hand; the files are kept.
set -euo pipefail
cd "$(dirname "$0")"
for format in xlsx ods; do
    soffice --headless --convert-to "$format" --outdir . staff.fods
done
# Saving with a password takes a macro, run in a profile of its own.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
soffice -env:UserInstallation="file://$profile" --headless --terminate_after_init
cat >"$profile/user/basic/Standard/Module1.xba" <<MACRO
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE script:module PUBLIC "-//OpenOffice.org//DTD OfficeDocument 1.0//EN" "module.dtd">
<script:module xmlns:script="http://openoffice.org/2000/script" script:name="Module1" script:language="StarBasic">
Sub SaveLocked
    Dim load(0) As New com.sun.star.beans.PropertyValue
    load(0).Name = &quot;Hidden&quot;
    load(0).Value = True
    doc = StarDesktop.loadComponentFromURL(&quot;file://$PWD/staff.fods&quot;, &quot;_blank&quot;, 0, load())
    Dim ods(1) As New com.sun.star.beans.PropertyValue
    ods(0).Name = &quot;FilterName&quot;
    ods(0).Value = &quot;calc8&quot;
    ods(1).Name = &quot;Password&quot;
    ods(1).Value = &quot;1234&quot;
    doc.storeToURL(&quot;file://$PWD/locked.ods&quot;, ods())
    doc.close(True)
End Sub
</script:module>
MACRO
soffice -env:UserInstallation="file://$profile" --headless "macro:///Standard.Module1.SaveLocked"
