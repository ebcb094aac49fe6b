#pragma once
// The login and management password. The settings row keeps it as a salted
// PBKDF2 hash; an empty value or the initial "729" means there is none, and a
// clear-text value from an older database is accepted once and then kept hashed.
#include "platform/rtl/Types.h"

// Whether the stored value means that no password is set.
bool IsNoPassword(const String& Stored);
bool IsHashedPassword(const String& Stored);
// The value to store for Password: the "no password" values as they are, any
// other as "pbkdf2-sha256$<iterations>$<salt>$<key>" with a fresh random salt.
String StoredPasswordOf(const String& Password);
// Whether Entered is the password that Stored keeps (hashed or clear text).
bool PasswordMatches(const String& Stored, const String& Entered);

// Writes Password into the settings row in its stored form and makes it the
// password in use; raises when the row cannot be written.
void StoreLoginPassword(const String& Password);

// Asks for the password with Prompt as the prompt's caption and hint when one is
// set; true when none is set or the answer matches. A wrong answer shows
// "密码错误！" and gives false. A clear-text password that matched is stored hashed.
bool CheckPassword(const String& Prompt);
