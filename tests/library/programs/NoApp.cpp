// A program that forgot its application object.
int g_nothingHere = 0;
