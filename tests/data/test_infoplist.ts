<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>InfoPlist</name>
    <message>
        <source>checkIN</source>
        <translation>Arrive</translation>
    </message>
    <message>
        <source>checkOUT</source>
        <translation>Leave</translation>
    </message>
    <message>
        <source>ckinTitleMessFMT</source>
        <translation>State: %@ (%d%%)</translation>
    </message>
    <message>
        <source>ckinMessMessFMT</source>
        <translation>Next: %@</translation>
    </message>
    <message>
        <source>ckinPreTitleMessFMT</source>
        <translation>Without a word</translation>
    </message>
</context>
</TS>
