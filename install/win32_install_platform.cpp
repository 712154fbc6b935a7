// Win32 implementation of the install platform.
