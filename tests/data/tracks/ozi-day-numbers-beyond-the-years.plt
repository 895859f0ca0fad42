OziExplorer Track Point File Version 2.1
WGS 84
Altitude is in Feet
Reserved 3
0,2,255,Track,0,0,2,8421376
0
48.1,11.5,0,100,-700000,,
48.1,11.5,0,100,3000000,,
