#pragma once

class CaContainer;

// Called inside a process's Execute once per server message, in order: the message's index
// (from 0), the process object, the process's context and the message (_HEM_MsgKey, _HEM_MsgArg).
typedef void (*CaCallBack)(int, void* process, void*, CaContainer* message);
