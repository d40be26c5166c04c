// Resource identifiers of the pictures embedded in every Certivex executable.
#pragma once
#define IDI_CERTIVEX 1
#define IDR_SKIN_ATLAS 101
#define IDR_DEFAULT_TEMPLATE 102
#define IDR_DEFAULT_PHOTO 103
