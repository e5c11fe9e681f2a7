// Control ids of the links inside the pages; their clicks stay with the page that holds them.
#pragma once

#define ID_PARTNER_LOGO 501
#define ID_PREV_THUMBS 500
#define ID_NEXT_THUMBS 501
