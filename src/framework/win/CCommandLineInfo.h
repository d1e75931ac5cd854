// What the command line asks a single-document program to do at start-up.
#pragma once

#include "framework/CString.h"

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;

    // One argument of the command line, flag without its '/' or '-'. The first plain argument
    // names a file to open; flags are the program's own business.
    virtual void ParseParam(LPCWSTR param, BOOL flag, BOOL last);
    virtual ~CCommandLineInfo() = default;
};
