/* header
 * package x.y;
 */
// package q;
package com.example.app;

public class App {}
