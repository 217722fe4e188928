<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="eo">
<context>
    <name>Form1</name>
    <message>
        <source>&amp;Encrypt</source>
        <translation>Ĉ&amp;ifri</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Could not read &quot;%1&quot;: %2.</source>
        <translation>Ne eblis legi &quot;%1&quot;: %2.</translation>
    </message>
</context>
</TS>
