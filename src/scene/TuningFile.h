// The optional tuning file (BaseName + ".ini" next to the program): view
// and fog distances, light colours, planes, effect ranges, theme colours
// and textures, asset names, process priority and the log switch.
#pragma once

#include <string>
#include <vector>

#include "scene/LogFile.h"
#include "platform/Process.h"
#include "scene/IniFile.h"
#include "scene/SceneSettings.h"

// Applies a colour entry: up to four comma-separated numbers on the 0..255
// scale (red, green, blue, alpha). An empty entry or field keeps the
// component; a field that is not a number, or one beyond the single range,
// raises an error naming Where.
void ApplyColorEntry(const std::string& Text, TGLColor& Color, const std::string& Where);

// Reads every row of the settings table, in table order, into Settings,
// applies the priority at once and sets the log switch last. A value the
// scene cannot use (a projection the GL refuses or that draws one flat
// colour) keeps the value from before the file; a line naming the entry
// goes to the log and to Notices. A missing file changes nothing; a file
// over 1 MiB or one holding NUL bytes is refused with an error naming it.
// Errors name the file by its full path.
void LoadTuningFile(const std::string& FileName, TSceneSettings& Settings, IProcessControl& Process,
                    TLogFile& Log, std::vector<std::string>* Notices = nullptr);
// The same from an already parsed file; an error or a notice names the
// entry and, when FileName is given, the file by its full path.
void ApplyTuning(const TIniFile& Ini, TSceneSettings& Settings, IProcessControl& Process, TLogFile& Log,
                 const std::string& FileName = {}, std::vector<std::string>* Notices = nullptr);
