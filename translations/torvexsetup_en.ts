<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>InstallRun</name>
    <message numerus="yes">
        <source>Setup cannot find these installation files in the folder %1:
%2

Start Setup from the folder that holds its installation files.</source>
        <translation>
            <numerusform>Setup cannot find this installation file in the folder %1:
%2

Start Setup from the folder that holds its installation files.</numerusform>
            <numerusform>Setup cannot find these installation files in the folder %1:
%2

Start Setup from the folder that holds its installation files.</numerusform>
        </translation>
    </message>
</context>
</TS>
