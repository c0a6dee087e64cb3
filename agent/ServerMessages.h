#pragma once
#include <windows.h>

class CaContainer;

// The output log's side of the SDK: the server message table and the callbacks that the
// check-out and check-in processes call once per server message. Internal to the library.

// Adds the table's rows to the message map; rows already there are kept.
void FillServerMessageTable();

// Callbacks of the SDK's form: (message index, process object, context, message).
void OnCheckoutMessage(int, void* process, void*, CaContainer* message);
void OnCheckinMessage(int, void* process, void*, CaContainer* message);
