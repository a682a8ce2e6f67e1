#pragma once

#include <QString>

// The folder the program keeps its own files in (settings.ini, excerpts, sounds).
// Default: the environment variable VONDRIX_HOME when set, else the executable's folder.
// Two instances on one machine each point VONDRIX_HOME at a folder of their own.
QString programFolder();
void setProgramFolder(const QString& folder);

// A file of the program folder: programFile("settings.ini") is <folder>/settings.ini.
QString programFile(const QString& name);
